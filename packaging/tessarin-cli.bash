# SPDX-License-Identifier: MIT
# Bash completion for tessarin-cli: the options, DXF files for IN and OUT,
# TRUE or FALSE for KEEPSPLINES and OPEN; the four numbers get no proposal.

_tessarin_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local i position=0 optionsEnded=0
    COMPREPLY=()

    # The position of the word being completed among IN OUT MAXPERCENT ...
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ $optionsEnded == 0 && ${COMP_WORDS[i]} == --* ]]; then
            [[ ${COMP_WORDS[i]} == -- ]] && optionsEnded=1
            continue
        fi
        position=$((position + 1))
    done
    position=$((position + 1))

    if [[ $optionsEnded == 0 && $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--help --version --' -- "$cur")
        return
    fi
    case $position in
        1 | 2)
            if declare -F _filedir >/dev/null; then
                _filedir '@(dxf|DXF)'
            else
                compopt -o filenames 2>/dev/null
                mapfile -t COMPREPLY < <(compgen -f -X '!*.[dD][xX][fF]' -- "$cur"; compgen -d -- "$cur")
            fi
            ;;
        7 | 8)
            # Any case switches on; the proposal is the upper-case word.
            mapfile -t COMPREPLY < <(compgen -W 'TRUE FALSE' -- "${cur^^}")
            ;;
    esac
}
complete -F _tessarin_cli tessarin-cli
