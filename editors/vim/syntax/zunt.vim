" Vim syntax file for zunt scripts (*.cf): command words, declarations, labels, if/endif/goto,
" built-in functions, strings, numbers and comments, as the interpreter tells them apart.
if exists("b:current_syntax")
  finish
endif

" Command words and function names are found in any letter case.
syn case ignore
syn sync fromstart

" ";" cuts the rest of a line off wherever it stands, inside double quotes too.
syn match zuntComment ";.*$" contains=@Spell
" A line starting with a blank does nothing at all; one starting with a tab is an unknown command.
syn match zuntIgnored "^ [^;]*"
syn match zuntBadIndent "^\t[^;]*"
" A "#" in the first column makes the line a label.
syn match zuntLabel "^#[^;]*"

" Any other word starts an assignment; the command words below take the line over.
syn match zuntAssignment "^[^ \t#;][^;]*" contains=zuntString,zuntNumber,zuntFunction,zuntConstant,zuntInputText

" The command word is what stands before the first blank, or before "(" in a line without blanks.
let s:after = '\ze\%( \|;\|$\|(\%([^;]* \)\@!\)'
exe 'syn match zuntCommand "^\%(apptitle\|window\|color\|print\|input\|rect\|oval\|line\|plot\|cls\|clscolor\|flip\|waitkey\)' . s:after . '" nextgroup=zuntArguments'
exe 'syn match zuntControl "^\%(if\|endif\|end\|error\)' . s:after . '" nextgroup=zuntArguments'
exe 'syn match zuntControl "^goto' . s:after . '" nextgroup=zuntLabelRef skipwhite'
exe 'syn match zuntType "^\%(int\|float\|string\)' . s:after . '" nextgroup=zuntDim,zuntDeclaredName skipwhite'
unlet s:after
" Blanks inside a declared name are dropped: "int my var = 1" declares myvar.
syn match zuntDeclaredName "[^=\[;" ]\+\%( \+[^=\[;" ]\+\)*" contained nextgroup=zuntArguments
" An array when the second word is "dim".
syn match zuntDim "dim\ze " contained nextgroup=zuntDeclaredName skipwhite
syn match zuntLabelRef "[^ ;][^;]*" contained

" Arguments and right-hand sides: everything up to a comment, in any line that is not ignored.
syn match zuntArguments ".\{-}\ze\%(;\|$\)" contained contains=zuntString,zuntNumber,zuntFunction,zuntConstant,zuntInputText
" A text in double quotes is used as it stands; it ends at its closing quote or where ";" cuts it.
syn region zuntString start=+"+ end=+"\|\ze;\|$+ contained oneline
syn match zuntNumber "\%(^\|[^[:alnum:]_$%]\)\@<=\%(\d\+\%(\.\d\+\)\=\|\$\x\+\|%[01]\+\)\>" contained
syn match zuntFunction "\<\%(keyhit\|keydown\|rand\|sin\|cos\)\ze(" contained
syn match zuntConstant "\<pi\>" contained
syn match zuntInputText "\<input_text\>" contained

hi def link zuntComment Comment
hi def link zuntIgnored Comment
hi def link zuntBadIndent Error
hi def link zuntLabel Label
hi def link zuntLabelRef Label
hi def link zuntCommand Statement
hi def link zuntControl Conditional
hi def link zuntType Type
hi def link zuntDim StorageClass
hi def link zuntDeclaredName Identifier
hi def link zuntString String
hi def link zuntNumber Number
hi def link zuntFunction Function
hi def link zuntConstant Constant
hi def link zuntInputText Identifier

let b:current_syntax = "zunt"
