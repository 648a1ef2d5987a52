" Vim syntax file for pelko programs (*.pel): sections, declarations with their types, mnemonics,
" registers, labels, strings, numbers and both kinds of comment, as the loader tells them apart.
if exists("b:current_syntax")
  finish
endif

" Mnemonics, registers, type words and key names are compared exactly.
syn case match
syn sync fromstart

" A quote starts a comment anywhere, inside double quotes too; "\'" stands for a quote that does not.
syn match pelkoComment "\\\@<!'.*$" contains=@Spell
" A line starting with /' opens a block comment and a line starting with '/ closes it; the markers
" count only at the start of a line, so a block never closes on its opening line.
syn region pelkoComment start="^\s*/'" end="^\s*'/.*$" contains=@Spell

" Only ".data" and ".text", exactly, are sections; any other line starting with "." leaves both, and
" the lines after it are never declared or run.
syn match pelkoOtherSection "^\s*\..*"
syn region pelkoData matchgroup=pelkoSection start="^\s*\.data\ze\s*\%(\\\@<!'.*\)\=$" end="^\ze\s*\." contains=pelkoComment,pelkoDeclaredName
syn region pelkoText matchgroup=pelkoSection start="^\s*\.text\ze\s*\%(\\\@<!'.*\)\=$" end="^\ze\s*\." contains=pelkoComment,pelkoLabel,pelkoMnemonic,pelkoFlow

" .data: name, one blank, type word, one blank, value. Two blanks or a comma declare nothing.
syn match pelkoDeclaredName "^\s*\zs[^ \t',]\+\ze \%(int\|string\|single\)\%( [^,']*\)\=\%(\\\@<!'.*\)\=$" contained nextgroup=pelkoType skipwhite
syn match pelkoType "\%(int\|string\|single\)\>" contained nextgroup=pelkoString,pelkoNumber skipwhite

" .text: a word ending in ":" at the start of a row is a label; words after it are ignored.
syn match pelkoLabel "^\s*\zs[^ \t']\+:\ze\%( \|$\)" contained
syn match pelkoMnemonic "^\s*\zs\%(mov\|app\|add\|sub\|mul\|div\|cos\|sin\|inc\|dec\|neg\|not\|and\|or\|xor\|gfx\|org\|cls\|flip\|wait\|dot\|rect\|oval\|text\|rnd\|cmp\|push\|pop\)\ze\%( \|$\)" contained nextgroup=pelkoOperands
syn match pelkoFlow "^\s*\zs\%(ce\|cz\|cne\|cnz\|cg\|cge\|cl\|cle\|jmp\|jz\|je\|jnz\|jne\|jl\|jle\|jg\|jge\|jcxz\|call\)\ze\%( \|$\)" contained nextgroup=pelkoLabelRef skipwhite
syn match pelkoFlow "^\s*\zs\%(ret\|end\)\ze\%( \|$\)" contained nextgroup=pelkoOperands
syn match pelkoMnemonic "^\s*\zsint\ze\%( \|$\)" contained nextgroup=pelkoService skipwhite

syn match pelkoLabelRef "[^ \t,']\+" contained nextgroup=pelkoOperands
syn match pelkoService "\%(print\|waitkey\|input\|delay\)\ze\s*\%([,']\|$\)" contained nextgroup=pelkoOperands
syn match pelkoService "\%(hitkey\|downkey\)\ze\s*\%([,']\|$\)" contained nextgroup=pelkoKeyComma skipwhite
syn match pelkoKeyComma "," contained nextgroup=pelkoKey skipwhite
" Key names are exact: "esc" or "Esc" read as a key that is never held.
syn match pelkoKey "\%(LEFT\|RIGHT\|UP\|DOWN\|ESC\|A\|S\|D\|W\)\ze\s*\%(\\\@<!'\|$\)" contained

" The rest of an instruction row: operands up to a comment.
syn match pelkoOperands "[ \t,]\%([^']\|\\\@<='\)*" contained contains=pelkoString,pelkoNumber,pelkoRegister,pelkoPredefined
syn match pelkoRegister "\<\%(ax\|bx\|cx\|dx\|cmd\|kbd\)\>" contained
" Whole operands are replaced once after loading; "__TIMER__" anywhere, at every execution.
syn match pelkoPredefined "\<__\%(LINE\|FUNC\|CTIMER\|WINDOWS\|LINUX\|MACOS\)__\>" contained
syn match pelkoPredefined "__TIMER__" contained
" A string ends at its closing quote, or where a comment cuts it off.
syn region pelkoString start=+"+ end=+"\|\ze\\\@<!'\|$+ contained
" "$" reads hexadecimal digits and "%" binary ones.
syn match pelkoNumber "\%(^\|[^[:alnum:]_$%]\)\@<=-\=\d\+\%(\.\d\+\)\=\%([eE][-+]\=\d\+\)\=\>" contained
syn match pelkoNumber "\%(^\|[^[:alnum:]_]\)\@<=\%(\$\x\+\|%[01]\+\)\>" contained

hi def link pelkoComment Comment
hi def link pelkoSection PreProc
hi def link pelkoOtherSection Error
hi def link pelkoDeclaredName Identifier
hi def link pelkoType Type
hi def link pelkoLabel Label
hi def link pelkoLabelRef Label
hi def link pelkoMnemonic Statement
hi def link pelkoFlow Conditional
hi def link pelkoService Function
hi def link pelkoKey Constant
hi def link pelkoRegister Identifier
hi def link pelkoPredefined Constant
hi def link pelkoString String
hi def link pelkoNumber Number

let b:current_syntax = "pelko"
