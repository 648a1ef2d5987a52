" Checks the Vim syntax files: every file of the table opens through file-type detection with its own
" syntax and no error, and the syntax group at each position is the one the table expects.
" Run as: vim -u NONE -i NONE -N -es --cmd "let g:source_dir='...'" -S vim_positions.vim
let s:failures = []
let s:languages = {'pel': 'pelko', 'cf': 'zunt'}
execute 'set runtimepath^=' . fnameescape(g:source_dir . '/editors/vim')
filetype on
syntax on

function! s:Group(language, kind) abort
  if a:kind ==# '-'
    return ''
  endif
  return a:language . join(map(split(a:kind, '-'), 'toupper(v:val[0]) . v:val[1:]'), '')
endfunction

" Groups that only hold other items carry no colour of their own.
function! s:Colour(id) abort
  let name = synIDattr(a:id, 'name')
  return synIDattr(synIDtrans(a:id), 'name') ==# name ? '' : name
endfunction

for s:row in readfile(g:source_dir . '/tests/editors/positions.tsv')
  if s:row =~# '^#' || s:row ==# ''
    continue
  endif
  let [s:file, s:line, s:column, s:text, s:kind; s:rest] = split(s:row, "\t", 1)
  let s:language = s:languages[fnamemodify(s:file, ':e')]
  " A file is opened once: reopening it would keep syntax states from the first time.
  if s:file !=# get(s:, 'opened', '')
    let s:opened = s:file
    let v:errmsg = ''
    execute 'silent edit ' . fnameescape(g:source_dir . '/' . s:file)
    if v:errmsg !=# '' || get(b:, 'current_syntax', '') !=# s:language
      call add(s:failures, s:file . ': syntax ' . get(b:, 'current_syntax', 'none') . ', error ' . v:errmsg)
    endif
  endif
  let s:content = getline(s:line)
  let s:byte = byteidx(s:content, s:column - 1) + 1
  let s:found = strpart(s:content, s:byte - 1, len(s:text))
  let s:group = s:Colour(synID(s:line, s:byte, 1))
  let s:expected = s:Group(s:language, s:kind)
  if s:found !=# s:text || s:group !=# s:expected
    call add(s:failures, printf('%s:%d:%d: "%s" is %s, expected "%s" as %s', s:file, s:line, s:column,
          \ s:found, s:group ==# '' ? '-' : s:group, s:text, s:expected ==# '' ? '-' : s:expected))
  endif
endfor

if empty(s:failures)
  qall!
endif
call writefile(s:failures, '/dev/stderr')
cquit!
