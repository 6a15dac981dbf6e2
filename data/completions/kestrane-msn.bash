# bash completion for kestrane-msn: commands, options, and for set the
# names of the fields it sets (as FIELD=).

_kestrane_msn() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local commands="show check stamp set diff list new fields"
    local fields="InstantActionFlag MissionName YearSetting TimeOfDaySetting WeatherSetting
        MissionTypeSetting TargetNumber AttackPlane1Count CruiseAltitudeSetting HomeBaseNumber AttackPlane2Type
        FormationSizeSetting PilotSkillSetting BattleSizeSetting EnemyPrimaryType EnemySecondaryType
        EnemySkillSetting AAASetting Unknown1 Unknown2 MissionWeather MissionDate TargetOffset AttackPlane1Type
        AttackPrimaryAltitude AttackSecondaryAltitude EnemyPrimaryAltitude EnemySecondaryAltitude"
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        show | check | stamp | set | diff | list | new | fields) command=${COMP_WORDS[i]}; break ;;
        esac
    done
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    case $prev in
    -o | --output | --from) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --catalogues) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    esac
    local options="--help"
    case $command in
    show | diff | list) options+=" --json --catalogues" ;;
    check | fields) options+=" --json" ;;
    stamp) options+=" -o --output --dry-run --backup --json" ;;
    set) options+=" -o --output --dry-run --backup --catalogues --from --json" ;;
    new) options+=" -o --output --json" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ $command == new || $command == fields ]]; then
        COMPREPLY=()
    elif [[ $command == list ]]; then
        COMPREPLY=($(compgen -d -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
        # set: the fields as FIELD=, with no space after them.
        local names=($(compgen -W "$fields" -- "$cur"))
        if [[ $command == set && ${#names[@]} -gt 0 ]]; then
            COMPREPLY=("${names[@]/%/=}" "${COMPREPLY[@]}")
            compopt -o nospace 2>/dev/null
        fi
    fi
}
complete -F _kestrane_msn kestrane-msn
