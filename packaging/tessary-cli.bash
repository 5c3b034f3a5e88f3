# bash completion for tessary-cli: the commands, the options, and for each argument of a command
# the files it takes (maps, pictures, scripts), directories always offered to walk into.
# Needs nothing from the bash-completion package, so it also works when sourced by hand.

_tessary_cli_files() {
    local ext
    for ext in "$@"; do
        # Either case: maps and pictures often come from Windows machines.
        COMPREPLY+=($(compgen -f -X "!*.${ext}" -- "$cur") $(compgen -f -X "!*.${ext^^}" -- "$cur"))
    done
    COMPREPLY+=($(compgen -d -- "$cur"))
}

_tessary_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="check write locate guess-neighbours guess-terrain run-script render report renumber"
    local options="--home --strict --regions --keep --all --draws --seed --scale --numbers --names --links --starts --html --help --help-all --version"
    local IFS=$'\n'
    COMPREPLY=()
    compopt -o filenames 2>/dev/null

    if [[ $prev == --home ]]; then
        COMPREPLY=($(compgen -d -- "$cur"))
        return
    fi
    if [[ $prev == --html ]]; then
        _tessary_cli_files html
        return
    fi
    [[ $prev == --scale || $prev == --draws || $prev == --seed ]] && return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(IFS=' '; compgen -W "$options" -- "$cur"))
        return
    fi

    # The command is the first word that is no option; what follows it is counted from 0.
    local command="" argument=0 i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --home | --html | --scale) ((i++)) ;;
        -*) ;;
        *) if [[ -z $command ]]; then command=${COMP_WORDS[i]}; else ((argument++)); fi ;;
        esac
    done
    if [[ -z $command ]]; then
        COMPREPLY=($(IFS=' '; compgen -W "$commands" -- "$cur"))
        return
    fi
    case $command:$argument in
    locate:0) _tessary_cli_files map tga rgb ;;
    run-script:1) _tessary_cli_files tss ;;
    render:1) _tessary_cli_files png ;;
    renumber:1) _tessary_cli_files tga rgb ;;
    check:0 | write:[01] | guess-neighbours:[01] | guess-terrain:[01] | run-script:[02] | render:0 | report:0 | renumber:[02])
        _tessary_cli_files map ;;
    esac
}

complete -F _tessary_cli tessary-cli
