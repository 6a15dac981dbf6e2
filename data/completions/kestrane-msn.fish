# fish completion for kestrane-msn: commands, options, and for set the names
# of the fields it sets (as FIELD=).

set -l commands show check stamp set diff list new fields
complete -c kestrane-msn -f
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -a show -d 'Print each settable field as FIELD=VALUE'
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -a check -d 'Say whether each stored checksum is right'
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -a stamp -d 'Write the right checksum where it is wrong'
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -a set -d 'Change fields and save each file'
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -a diff -d 'Print the fields and bytes that differ'
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -a list -d 'Print a line for each mission file of a folder'
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -a new -d 'Write a new mission'
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -a fields -d 'List every field and the values set takes'
complete -c kestrane-msn -n "not __fish_seen_subcommand_from $commands" -l version -d 'Print the version'

complete -c kestrane-msn -l help -d 'Print help'
complete -c kestrane-msn -n "__fish_seen_subcommand_from $commands" -l json -d 'Print one JSON document'
complete -c kestrane-msn -n "__fish_seen_subcommand_from show check stamp set diff" -F
complete -c kestrane-msn -n "__fish_seen_subcommand_from list" -a '(__fish_complete_directories)'
complete -c kestrane-msn -n "__fish_seen_subcommand_from set" -l from -r -F -d 'Read FIELD=VALUE changes from this file (- for standard input)'
complete -c kestrane-msn -n "__fish_seen_subcommand_from show set diff list" -l catalogues -x -a '(__fish_complete_directories)' -d 'Folder holding planes.txt and targets.txt'
complete -c kestrane-msn -n "__fish_seen_subcommand_from stamp set new" -s o -l output -r -F -d 'Write here (- for standard output)'
complete -c kestrane-msn -n "__fish_seen_subcommand_from stamp set" -l dry-run -d 'Say what would change and write nothing'
complete -c kestrane-msn -n "__fish_seen_subcommand_from stamp set" -l backup -d 'Keep the file as FILE~ before writing'
for field in InstantActionFlag MissionName YearSetting TimeOfDaySetting WeatherSetting \
        MissionTypeSetting TargetNumber AttackPlane1Count CruiseAltitudeSetting HomeBaseNumber AttackPlane2Type \
        FormationSizeSetting PilotSkillSetting BattleSizeSetting EnemyPrimaryType EnemySecondaryType \
        EnemySkillSetting AAASetting Unknown1 Unknown2 MissionWeather MissionDate TargetOffset AttackPlane1Type \
        AttackPrimaryAltitude AttackSecondaryAltitude EnemyPrimaryAltitude EnemySecondaryAltitude
    complete -c kestrane-msn -n "__fish_seen_subcommand_from set" -a "$field=" -d 'Field'
end
