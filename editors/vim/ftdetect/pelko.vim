" File-type detection for pelko programs.
au BufNewFile,BufRead *.pel setfiletype pelko
