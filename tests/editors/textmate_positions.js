// Checks the VS Code extension: its manifest names a grammar and a language configuration for each
// language, and the grammar of each file of the table gives the expected scope at each position.
// Run as: node textmate_positions.js NODE_MODULES SOURCE_DIR
'use strict';
const fs = require('fs');
const path = require('path');

const [modules, sourceDir] = process.argv.slice(2);
const textmate = require(path.join(modules, 'vscode-textmate'));
const oniguruma = require(path.join(modules, 'vscode-oniguruma'));
const extension = path.join(sourceDir, 'editors', 'vscode');
const manifest = JSON.parse(fs.readFileSync(path.join(extension, 'package.json'), 'utf8'));

function readJson(relative) {
  return JSON.parse(fs.readFileSync(path.join(extension, relative), 'utf8'));
}

// The language of a file, by the extensions the manifest lists, and the grammar's scope name.
function languageOf(file) {
  const language = manifest.contributes.languages.find((l) => l.extensions.includes(path.extname(file)));
  const grammar = manifest.contributes.grammars.find((g) => g.language === language.id);
  readJson(language.configuration);
  return { id: language.id, scopeName: grammar.scopeName };
}

// The tokens of every line of a file, the rule stack carried from line to line.
function tokenise(grammar, text) {
  let stack = textmate.INITIAL;
  return text.split('\n').map((line) => {
    const result = grammar.tokenizeLine(line, stack);
    stack = result.ruleStack;
    return { line, tokens: result.tokens };
  });
}

async function main() {
  const wasm = fs.readFileSync(path.join(modules, 'vscode-oniguruma', 'release', 'onig.wasm')).buffer;
  await oniguruma.loadWASM(wasm);
  const registry = new textmate.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async (scopeName) => {
      const entry = manifest.contributes.grammars.find((g) => g.scopeName === scopeName);
      const file = path.join(extension, entry.path);
      return textmate.parseRawGrammar(fs.readFileSync(file, 'utf8'), file);
    },
  });

  const failures = [];
  const files = new Map();
  const table = fs.readFileSync(path.join(sourceDir, 'tests', 'editors', 'positions.tsv'), 'utf8');
  for (const row of table.split('\n')) {
    if (row === '' || row.startsWith('#')) continue;
    const [file, line, column, text, , scope] = row.split('\t');
    if (!files.has(file)) {
      const language = languageOf(file);
      const grammar = await registry.loadGrammar(language.scopeName);
      files.set(file, tokenise(grammar, fs.readFileSync(path.join(sourceDir, file), 'utf8')));
    }
    const { line: content, tokens } = files.get(file)[Number(line) - 1];
    const at = Number(column) - 1;
    const found = content.slice(at, at + text.length);
    const token = tokens.find((t) => t.startIndex <= at && at < t.endIndex);
    const scopes = token ? token.scopes.slice(1) : [];
    const innermost = scopes.length ? scopes[scopes.length - 1] : '-';
    if (found !== text || innermost !== scope) {
      failures.push(`${file}:${line}:${column}: "${found}" is ${innermost}, expected "${text}" as ${scope}`);
    }
  }
  failures.forEach((failure) => console.error(failure));
  process.exitCode = failures.length ? 1 : 0;
}

main().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
