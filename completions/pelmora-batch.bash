# SPDX-License-Identifier: GPL-2.0-or-later
# bash completion for pelmora-batch: its options, their values, file names.

# One option a line, then what its value is: words to choose from, or
# @colour (and any further words), @file, @folder, @number; nothing for an option without a value.
_pelmora_batch_options='
--outline      @colour
--fill         @colour
--solid
--alpha-threshold @number
--background   @colour corner
--fuzz         @number
--despeckle    @number
--smooth
--hard
--rotate       90 180 270
--mirror       lr tb
--scale        @number
--size         @number
--fit          @number
--type         bmp jpg jpeg ico png svg webp pdf dxf
--opaque
--offset       @number
--dpi          @number
--with-picture
--smoothness   @number
-o             @file
--output       @file
--out-dir      @folder
-n
--no-clobber
-j             @number
--jobs         @number
--info
-h
--help
--version
'
_pelmora_batch_colours='black white gray silver red maroon orange yellow olive lime green aqua teal blue navy fuchsia purple'

_pelmora_batch() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local option values names=
    COMPREPLY=()
    # "--type=p" reaches here as "--type" "=" "p".
    if [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
        prev=${COMP_WORDS[COMP_CWORD-2]}
    elif [[ $cur == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD-1]} cur=
    fi
    while read -r option values; do
        [[ -n $option ]] || continue
        names+=" $option"
        [[ $option == "$prev" && -n $values ]] || continue
        case $values in
            @colour*) mapfile -t COMPREPLY < <(compgen -W "$_pelmora_batch_colours ${values#@colour}" -- "$cur") ;;
            @file) mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
            @folder) mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
            @number) ;;
            *) mapfile -t COMPREPLY < <(compgen -W "$values" -- "$cur") ;;
        esac
        return
    done <<< "$_pelmora_batch_options"
    if [[ $cur == -?* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$names" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
complete -o filenames -F _pelmora_batch pelmora-batch
