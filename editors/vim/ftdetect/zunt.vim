" File-type detection for zunt scripts; names that other programs own (main.cf, sendmail.cf) keep
" their own type, since setfiletype leaves a type already set alone.
au BufNewFile,BufRead *.cf setfiletype zunt
