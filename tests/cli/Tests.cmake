# Tests that run the built ralvo-schedule tool (see RunCli.cmake).
set(cli_data ${CMAKE_CURRENT_LIST_DIR}/data)

# ralvo_cli_test(NAME ARGS a b c ... [EXPECTED file] [STATUS n] [...])
function(ralvo_cli_test name)
    cmake_parse_arguments(PARSE_ARGV 1 t ""
        "EXPECTED;STATUS;STDOUT_CONTAINS;STDERR_CONTAINS;STDERR_LINES;OUTPUT_FILE" "ARGS;JSON")
    list(JOIN t_ARGS "^^" joined)
    list(JOIN t_JSON "^^" json)
    set(defines -DTOOL=$<TARGET_FILE:ralvo-schedule> "-DARGS=${joined}" "-DJSON=${json}"
        -DWORK=${CMAKE_CURRENT_BINARY_DIR}/cli/${name})
    foreach(key EXPECTED STATUS STDOUT_CONTAINS STDERR_CONTAINS STDERR_LINES OUTPUT_FILE)
        if(DEFINED t_${key})
            list(APPEND defines "-D${key}=${t_${key}}")
        endif()
    endforeach()
    add_test(NAME cli_${name}
        COMMAND ${CMAKE_COMMAND} ${defines} -P ${CMAKE_CURRENT_LIST_DIR}/RunCli.cmake)
    set_tests_properties(cli_${name} PROPERTIES ENVIRONMENT "${RALVO_TEST_ENV}" LABELS cli)
endfunction()

set(example --basis 0 --year 2024 --month 1 --day 1 --cycle 28 --name サンプル)

ralvo_cli_test(text_worked_example ARGS text ${example}
    EXPECTED ${cli_data}/lmp-2024-01-01.txt STDERR_LINES 0)
ralvo_cli_test(text_to_file ARGS text ${example} -o @OUT@ OUTPUT_FILE out.txt
    EXPECTED ${cli_data}/lmp-2024-01-01.txt)
ralvo_cli_test(text_bunben_term ARGS text ${example} --set Yoteiyogo=1 --defaults
    EXPECTED ${cli_data}/lmp-2024-01-01-bunben.txt)
ralvo_cli_test(text_other_notation
    ARGS text ${example} --set Tsuki1=第 --set Tsuki2=月 --set Shu1= --set Shu2=w
    EXPECTED ${cli_data}/lmp-2024-01-01-notation.txt)
ralvo_cli_test(text_second_placeholder_stays
    ARGS text --basis 0 --year 2024 --month 1 --day 1 --cycle 35 --name サンプル "--set=Tit=??様 ??"
    EXPECTED ${cli_data}/lmp-2024-01-01-cycle35.txt)
ralvo_cli_test(text_basal_temperature
    ARGS text --basis 1 --year 2024 --month 1 --day 15 --cycle 28 --name サンプル
    EXPECTED ${cli_data}/bbt-2024-01-15.txt)
ralvo_cli_test(text_ultrasound_without_name
    ARGS text --basis 2 --year 2024 --month 10 --day 7 --cycle 28
    EXPECTED ${cli_data}/us-2024-10-07.txt)
ralvo_cli_test(text_day_beyond_month_kept_as_typed
    ARGS text --basis 0 --year 2024 --month 2 --day 30 --cycle 28 --name サンプル
    EXPECTED ${cli_data}/lmp-2024-02-30.txt)
# The due date and week 40 both fall on the weekday epoch: two order
# messages on standard error, and the output carries on.
ralvo_cli_test(text_epoch_order_message
    ARGS text --basis 2 --year 1582 --month 1 --day 1 --cycle 28 --name サンプル
    EXPECTED ${cli_data}/us-1582-01-01.txt
    STDERR_CONTAINS 日付の前後関係を確認して下さい。 STDERR_LINES 2)
ralvo_cli_test(text_utf8 ARGS text ${example} --utf8
    STDOUT_CONTAINS "\n出産予定日　：2024年10月 7日（月曜日）\n---")
ralvo_cli_test(text_blank_and_sign_inputs
    ARGS text --basis 0 --year " +2024" --month 01 --day " 1" --cycle +28 --name サンプル
    EXPECTED ${cli_data}/lmp-2024-01-01.txt)
ralvo_cli_test(text_largest_cycle
    ARGS text --basis 0 --year 2024 --month 1 --day 1 --cycle 2147483647 --utf8
    STDOUT_CONTAINS "出産予定日　：5881635年 3月20日（火曜日）")

ralvo_cli_test(text_empty_day ARGS text --basis 0 --year 2024 --month 1 --day= --cycle 28
    STATUS 2 STDERR_LINES 1 STDERR_CONTAINS 整数)
ralvo_cli_test(text_empty_cycle_other_basis ARGS text --basis 2 --year 2024 --month 1 --day 1 --cycle=
    STATUS 2 STDERR_LINES 1)
ralvo_cli_test(text_month_13 ARGS text --basis 0 --year 2024 --month 13 --day 1 --cycle 28
    STATUS 2 STDERR_LINES 1)
ralvo_cli_test(text_year_beyond_32_bits
    ARGS text --basis 0 --year 2147483647 --month 12 --day 1 --cycle 28
    STATUS 2 STDERR_LINES 1)
ralvo_cli_test(text_number_beyond_32_bits
    ARGS text --basis 0 --year 2147483648 --month 1 --day 1 --cycle 28 STATUS 2 STDERR_LINES 1)
ralvo_cli_test(text_unencodable_name ARGS text --basis 0 --year 2024 --month 1 --day 1 --cycle 28
    --name 😀 STATUS 2 STDERR_CONTAINS 😀)

ralvo_cli_test(bad_option ARGS text ${example} --bogus STATUS 64 STDERR_CONTAINS 使い方)
ralvo_cli_test(missing_option ARGS text --basis 0 --year 2024 --month 1 --day 1
    STATUS 64 STDERR_CONTAINS --cycle)
ralvo_cli_test(bad_basis ARGS text --basis 3 --year 2024 --month 1 --day 1 --cycle 28 STATUS 64)
ralvo_cli_test(unknown_setting ARGS text ${example} --set Nope=1 STATUS 64 STDERR_CONTAINS Nope)
ralvo_cli_test(unknown_subcommand ARGS print STATUS 64)
ralvo_cli_test(no_arguments STATUS 64)
ralvo_cli_test(help ARGS --help STATUS 0 STDOUT_CONTAINS 使い方)
ralvo_cli_test(help_shows_ics ARGS --help STATUS 0 STDOUT_CONTAINS "ics のオプション:")
ralvo_cli_test(help_lists_missing_drawing_program ARGS --help STATUS 0 STDOUT_CONTAINS "\n  69  ")
ralvo_cli_test(version ARGS --version STATUS 0 STDOUT_CONTAINS "ralvo-schedule ${PROJECT_VERSION}\n"
    STDERR_LINES 0)

# Embryo transfer: a day-3 embryo moved on 2024-01-18 and a day-5 one on
# 2024-01-20 give the worked example's dates.
ralvo_cli_test(text_ivf3 ARGS text --basis ivf3 --year 2024 --month 1 --day 18 --cycle 28 --utf8
    STDOUT_CONTAINS "出産予定日　：2024年10月 7日（月曜日）\n---")
ralvo_cli_test(text_ivf3_basis_line ARGS text --basis ivf3 --year 2024 --month 1 --day 18 --cycle 28 --utf8
    STDOUT_CONTAINS "\n胚移植日（3日目胚）：2024年 1月18日\n---")
ralvo_cli_test(text_ivf5_basis_line ARGS text --basis ivf5 --year 2024 --month 1 --day 20 --cycle 28 --utf8
    STDOUT_CONTAINS "\n胚移植日（5日目胚）：2024年 1月20日\n---")
ralvo_cli_test(dates_ivf3 ARGS dates --basis ivf3 --year 2024 --month 1 --day 18 --cycle 28 --on 2024-03-01 --json
    JSON dueDate=2024-10-07 ovulationDate=2024-01-15 implantationDate=2024-01-22)
ralvo_cli_test(dates_ivf5 ARGS dates --basis ivf5 --year 2024 --month 3 --day 1 --cycle 28 --on 2024-03-01 --json
    JSON dueDate=2024-11-17 ovulationDate=2024-02-25 gestationalAge.totalDays=19 gestationalAge.weeks=2)
ralvo_cli_test(bad_basis_name ARGS dates --basis ivf4 --year 2024 --month 1 --day 18 --cycle 28
    STATUS 64 STDERR_CONTAINS ivf4)

# dates: every key of the worked example on 2024-03-01 (8 weeks 4 days).
set(lmp --basis 0 --year 2024 --month 1 --day 1 --cycle 28)
ralvo_cli_test(dates_json_worked_example ARGS dates ${lmp} --on 2024-03-01 --json
    EXPECTED ${cli_data}/dates-2024-03-01.json)
ralvo_cli_test(dates_lines ARGS dates ${lmp} --on 2024-03-01
    STDOUT_CONTAINS "出産予定日　　：2024年10月7日（月曜日）　令和6年10月7日\n" STDERR_LINES 0)
ralvo_cli_test(dates_week_boundary ARGS dates ${lmp} --on 2024-02-26 --json
    JSON gestationalAge.weeks=8 gestationalAge.days=0 gestationalAge.totalDays=56 pregnancyMonth=3
         daysToDue=224 trimester=初期)
ralvo_cli_test(dates_last_day_of_week ARGS dates ${lmp} --on 2024-02-25 --json
    JSON gestationalAge.weeks=7 gestationalAge.days=6 pregnancyMonth=2)
ralvo_cli_test(dates_second_trimester ARGS dates ${lmp} --on 2024-04-22 --json
    JSON gestationalAge.weeks=16 gestationalAge.days=0 trimester=中期)
ralvo_cli_test(dates_third_trimester ARGS dates ${lmp} --on 2024-07-15 --json
    JSON gestationalAge.weeks=28 trimester=後期 pregnancyMonth=8)
ralvo_cli_test(dates_on_the_due_date ARGS dates ${lmp} --on 2024-10-07 --json
    JSON gestationalAge.weeks=40 gestationalAge.days=0 gestationalAge.totalDays=280 daysToDue=0
         pregnancyMonth=11 trimester=後期 on=2024-10-07)
ralvo_cli_test(dates_after_the_due_date ARGS dates ${lmp} --on 2024-11-10 --json
    JSON gestationalAge.weeks=44 gestationalAge.days=6 daysToDue=-34 pregnancyMonth=12)
ralvo_cli_test(dates_before_conception ARGS dates ${lmp} --on 2023-12-29 --json
    JSON gestationalAge.weeks=-1 gestationalAge.days=4 gestationalAge.totalDays=-3 daysToDue=283)
ralvo_cli_test(dates_multiple ARGS dates ${lmp} --on 2024-03-01 --multiple --json
    JSON maternityLeaveStart=2024-07-02 wareki.maternityLeaveStart=令和6年7月2日 fullTermEnd=2024-10-20)
# Each era from its first day: the ultrasound due date on the first day,
# the day counted on the last day of the era before.
foreach(era "2019-05-01;令和元年5月1日;2019-04-30;平成31年4月30日"
            "1989-01-08;平成元年1月8日;1989-01-07;昭和64年1月7日"
            "1926-12-25;昭和元年12月25日;1926-12-24;大正15年12月24日"
            "1912-07-30;大正元年7月30日;1912-07-29;明治45年7月29日"
            "1873-01-01;明治6年1月1日;1872-12-31;1872年12月31日")
    list(GET era 0 first)
    list(GET era 1 firstText)
    list(GET era 2 last)
    list(GET era 3 lastText)
    string(REPLACE "-" ";" ymd ${first})
    list(GET ymd 0 y)
    list(GET ymd 1 m)
    list(GET ymd 2 d)
    ralvo_cli_test(dates_era_${y} ARGS dates --basis 2 --year ${y} --month ${m} --day ${d} --cycle 28
        --on ${last} --json
        JSON dueDate=${first} wareki.dueDate=${firstText} on=${last} wareki.on=${lastText}
             daysToDue=1)
endforeach()
ralvo_cli_test(dates_bad_input ARGS dates --basis 0 --year 2024 --month 13 --day 1 --cycle 28
    STATUS 2 STDERR_LINES 1)
ralvo_cli_test(dates_bad_on ARGS dates ${lmp} --on 2024-02-30 STATUS 64 STDERR_CONTAINS --on)

# The check-ups, the 戌の日 of the fifth month and the leave around the birth.
set(due2026 --basis 2 --year 2026 --month 1 --day 15 --cycle 28 --on 2025-10-01)
ralvo_cli_test(dates_pregnancy_calendar ARGS dates ${due2026} --born 2026-01-20 --json
    JSON checkups.0.number=1 checkups.0.week=8 checkups.0.start=2025-06-05 checkups.0.end=2025-06-11
         checkups.13.number=14 checkups.13.week=39 checkups.13.start=2026-01-08 checkups.13.end=2026-01-14
         inuNoHi.0=2025-08-09 inuNoHi.1=2025-08-21
         birth=2026-01-20 postnatalLeaveStart=2026-01-21 postnatalLeaveEnd=2026-03-17
         childcareLeaveStart=2026-03-18 childcareLeaveEnd=2027-01-19
         maternityAllowance.start=2025-12-05 maternityAllowance.end=2026-03-17
         wareki.birth=令和8年1月20日 wareki.childcareLeaveEnd=令和9年1月19日
         wareki.maternityAllowance.start=令和7年12月5日 wareki.inuNoHi.0=令和7年8月9日
         wareki.checkups.0.start=令和7年6月5日)
ralvo_cli_test(dates_born_on_29_february ARGS dates --basis 2 --year 2024 --month 3 --day 20 --cycle 28
    --born 2024-02-29 --json
    JSON childcareLeaveEnd=2025-02-28 postnatalLeaveEnd=2024-04-25 maternityAllowance.start=2024-01-19)
ralvo_cli_test(dates_born_multiple_before_due ARGS dates ${due2026} --born 2026-01-10 --multiple --json
    JSON maternityAllowance.start=2025-10-05 maternityAllowance.end=2026-03-07 childcareLeaveEnd=2027-01-09)
ralvo_cli_test(dates_born_childcare_end ARGS dates --basis 2 --year 2025 --month 10 --day 15 --cycle 28
    --born 2025-10-15 --json JSON childcareLeaveEnd=2026-10-14)
ralvo_cli_test(dates_own_checkups ARGS dates ${due2026} --checkups 10,20 --json
    JSON checkups.1.number=2 checkups.1.week=20 checkups.1.start=2025-08-28)
ralvo_cli_test(dates_pregnancy_calendar_lines ARGS dates ${due2026} --born 2026-01-20
    STDOUT_CONTAINS "\n産後休業　　　：2026年1月21日（水曜日）～2026年3月17日（火曜日）　令和8年1月21日～令和8年3月17日\n"
    STDERR_LINES 0)
ralvo_cli_test(dates_checkup_lines ARGS dates ${due2026}
    STDOUT_CONTAINS "\n第1回妊婦健診 ：妊娠8週　2025年6月5日（木曜日）～2025年6月11日（水曜日）")
ralvo_cli_test(dates_first_inu_line ARGS dates ${due2026}
    STDOUT_CONTAINS "\n戌の日　　　　：2025年8月9日（土曜日）　令和7年8月9日（最初の戌の日）\n")
ralvo_cli_test(dates_born_too_late ARGS dates ${due2026} --born 2026-02-12 STATUS 2 STDERR_LINES 1
    STDERR_CONTAINS 2026-02-11)
ralvo_cli_test(dates_born_too_early ARGS dates ${due2026} --born 2025-07-03 STATUS 2 STDERR_LINES 1)
ralvo_cli_test(dates_bad_born ARGS dates ${due2026} --born 2026-1-20 STATUS 64 STDERR_CONTAINS --born)
foreach(list "12,8" "8,8" "3,8" "8,44" "" "8,,12" "a")
    string(MAKE_C_IDENTIFIER "${list}" id)
    ralvo_cli_test(dates_bad_checkups_${id} ARGS dates ${due2026} "--checkups=${list}"
        STATUS 64 STDERR_CONTAINS --checkups)
endforeach()
ralvo_cli_test(ics_checkups_and_no_checkups ARGS ics ${example} --defaults --checkups 8 --no-checkups
    STATUS 64 STDERR_CONTAINS --no-checkups)
ralvo_cli_test(ics_bad_checkups ARGS ics ${example} --defaults --checkups 8,40,41,44 STATUS 64
    STDERR_CONTAINS --checkups)

# page --batch: one page per good row, the bad row reported by its line.
foreach(kind utf8 utf8-bom shift-jis)
    add_test(NAME cli_page_batch_${kind}
        COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:ralvo-schedule>
                -DCSV=${cli_data}/batch-${kind}.csv -DWORK=${CMAKE_CURRENT_BINARY_DIR}/cli/batch-${kind}
                -P ${CMAKE_CURRENT_LIST_DIR}/CheckBatch.cmake)
    set_tests_properties(cli_page_batch_${kind} PROPERTIES ENVIRONMENT "${RALVO_TEST_ENV}" LABELS cli)
endforeach()
ralvo_cli_test(page_batch_png_refused ARGS page --defaults --batch ${cli_data}/batch-utf8.csv -o x.png
    STATUS 64 STDERR_CONTAINS .pdf)
ralvo_cli_test(page_batch_with_input_refused
    ARGS page --defaults --batch ${cli_data}/batch-utf8.csv ${example} -o x.pdf STATUS 64)
ralvo_cli_test(page_batch_missing_file ARGS page --defaults --batch /nonexistent.csv -o @OUT@
    OUTPUT_FILE out.pdf STATUS 2 STDERR_LINES 1)
# text, dates and ics without Qt Gui; page through the drawing program.
add_test(NAME cli_drawing_program
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:ralvo-schedule>
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/cli/drawing-program -P ${CMAKE_CURRENT_LIST_DIR}/CheckDrawingProgram.cmake)
set_tests_properties(cli_drawing_program PROPERTIES ENVIRONMENT "${RALVO_TEST_ENV}" LABELS cli)

# ics: the calendar file read by an independent parser and imported into
# a real calendar client (check_ics.py); the refusals.
find_program(RALVO_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(RALVO_SYSTEM_PYTHON)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/cli/ics)
    add_test(NAME cli_ics_parsed_and_imported
        COMMAND ${RALVO_SYSTEM_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/check_ics.py
                $<TARGET_FILE:ralvo-schedule> ${CMAKE_CURRENT_BINARY_DIR}/cli/ics)
    set_tests_properties(cli_ics_parsed_and_imported PROPERTIES
        ENVIRONMENT "${RALVO_TEST_ENV}" LABELS cli SKIP_RETURN_CODE 77)
endif()
ralvo_cli_test(ics_to_standard_output ARGS ics ${example} --defaults
    STDOUT_CONTAINS "SUMMARY:妊娠 8週 【第 3か月】\r\nDESCRIPTION:母子健康手帳を申請しましょう\r\n"
    STDERR_LINES 0)
ralvo_cli_test(ics_first_inu_no_hi ARGS ics ${example} --defaults
    STDOUT_CONTAINS "DTSTART;VALUE=DATE:20240428\r\nDTEND;VALUE=DATE:20240429\r\nSUMMARY:戌の日（帯祝い）\r\nDESCRIPTION:最初の戌の日\r\n")
ralvo_cli_test(ics_bad_input ARGS ics --basis 0 --year 2024 --month x --day 1 --cycle 28
    STATUS 2 STDERR_LINES 1 STDERR_CONTAINS 整数)
ralvo_cli_test(ics_year_beyond_four_digits ARGS ics --basis 2 --year 10000 --month 1 --day 1 --cycle 28
    --defaults STATUS 2 STDERR_LINES 1 STDERR_CONTAINS 9999)
ralvo_cli_test(ics_after_year_3000 ARGS ics --basis 0 --year 3001 --month 1 --day 1 --cycle 28 --defaults
    STDOUT_CONTAINS "DTSTART;VALUE=DATE:30010129\r\nDTEND;VALUE=DATE:30010205\r\n" STDERR_LINES 0)
ralvo_cli_test(help_shows_batch_limits ARGS --help STATUS 0 STDOUT_CONTAINS "--max-rows N         ")
ralvo_cli_test(page_encoding_without_batch_refused ARGS page ${example} --encoding utf-8 -o x.pdf
    STATUS 64 STDERR_CONTAINS --batch)
ralvo_cli_test(ics_unwritable ARGS ics ${example} --defaults -o /nonexistent/dir/x.ics STATUS 73)
ralvo_cli_test(page_batch_not_a_regular_file ARGS page --defaults --batch /dev/zero -o @OUT@
    OUTPUT_FILE out.pdf STATUS 2 STDERR_LINES 1)

# Runs the built tool against full disks, devices, FIFOs and desktop
# environments.
add_dependencies(cli_output_files_test ralvo-schedule)
target_compile_definitions(cli_output_files_test PRIVATE
    RALVO_SCHEDULE_TOOL="$<TARGET_FILE:ralvo-schedule>"
    RALVO_CLI_DATA="${CMAKE_CURRENT_LIST_DIR}/data")

# Pages whose institution block names pictures that cannot be drawn.
add_dependencies(cli_page_pictures_test ralvo-schedule)
target_compile_definitions(cli_page_pictures_test PRIVATE RALVO_SCHEDULE_TOOL="$<TARGET_FILE:ralvo-schedule>")

# Dating by ultrasound: the scan on 2026-06-10. CRL 45 mm is 11w1d by
# INTERGROWTH-21st (due 2026-12-29) and 11w2d by Robinson (2026-12-28);
# BPD 50 mm is 21w1d (2026-10-20); the scanner's 9+3 is due 2027-01-10.
set(scan_day --year 2026 --month 6 --day 10)
set(scan_crl --basis crl --crl 45 ${scan_day})
set(scan_bpd --basis bpd --bpd 50 ${scan_day})
set(scan_ga --basis ga --ga 9+3 ${scan_day})
set(scan_crl_due 2026-12-29)
set(scan_bpd_due 2026-10-20)
set(scan_ga_due 2027-01-10)
ralvo_cli_test(text_crl ARGS text ${scan_crl} --defaults --utf8
    STDOUT_CONTAINS "出産予定日　：2026年12月29日（火曜日）\n---")
ralvo_cli_test(text_crl_basis_line ARGS text ${scan_crl} --defaults --utf8
    STDOUT_CONTAINS "\n超音波計測日（CRL 45.0mm・11週1日）：2026年 6月10日\n---")
ralvo_cli_test(text_crl_robinson_basis_line ARGS text ${scan_crl} --method robinson --defaults --utf8
    STDOUT_CONTAINS "\n超音波計測日（CRL 45.0mm・11週2日）：2026年 6月10日\n---")
ralvo_cli_test(text_bpd_basis_line ARGS text ${scan_bpd} --defaults --utf8
    STDOUT_CONTAINS "\n超音波計測日（BPD 50.0mm・21週1日）：2026年 6月10日\n---")
ralvo_cli_test(text_ga_basis_line ARGS text ${scan_ga} --cycle 30 --defaults --utf8
    STDOUT_CONTAINS "出産予定日　：2027年 1月10日（日曜日）\n---")
ralvo_cli_test(text_ga_shift_jis ARGS text --basis ga --ga 9週3日 ${scan_day} --defaults -o @OUT@
    OUTPUT_FILE ga.txt STDERR_LINES 0)
foreach(measure crl bpd ga)
    # ics: the due-date event on the scan's due date.
    string(REPLACE "-" "" day ${scan_${measure}_due})
    ralvo_cli_test(ics_${measure} ARGS ics ${scan_${measure}} --defaults --name サンプル
        STDOUT_CONTAINS "DTSTART;VALUE=DATE:${day}\r\nDTEND;VALUE=DATE:" STDERR_LINES 0)
    # page: the same picture as basis 2 with the scan's due date.
    string(REPLACE "-" ";" due ${scan_${measure}_due})
    list(GET due 0 y)
    list(GET due 1 m)
    list(GET due 2 d)
    add_test(NAME cli_page_${measure}
        COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:ralvo-schedule> -DWORK=${CMAKE_CURRENT_BINARY_DIR}/cli/page-${measure}
            "-DSCAN=${scan_${measure}}" "-DDUE=--year;${y};--month;${m};--day;${d}"
            -P ${CMAKE_CURRENT_LIST_DIR}/CheckScanPage.cmake)
    set_tests_properties(cli_page_${measure} PROPERTIES ENVIRONMENT "${RALVO_TEST_ENV}" LABELS cli)
endforeach()
ralvo_cli_test(dates_crl_redate ARGS dates ${scan_crl} --lmp 2026-04-05 --cycle 28 --on 2026-06-10 --json
    JSON dueDate=2026-12-29 scan.date=2026-06-10 scan.measure=crl scan.value=45 scan.method=INTERGROWTH-21st
         scan.gestationalAge.weeks=11 scan.gestationalAge.days=1 scan.gestationalAge.totalDays=78
         gestationalAge.totalDays=78
         redating.lmpDueDate=2027-01-10 redating.differenceDays=-12 redating.suggestion=redate
         redating.rule.from=9w0d redating.rule.to=15w6d redating.rule.moreThanDays=7)
ralvo_cli_test(dates_crl_keep ARGS dates --basis crl --crl 22.5 ${scan_day} --lmp 2026-04-03 --json
    JSON dueDate=2027-01-12 scan.value=22.5 scan.gestationalAge.totalDays=64 redating.differenceDays=4
         redating.suggestion=keep redating.rule.from=9w0d)
ralvo_cli_test(dates_crl_robinson ARGS dates ${scan_crl} --method robinson --lmp 2026-03-24 --cycle 35 --json
    JSON dueDate=2026-12-28 scan.method=Robinson scan.gestationalAge.totalDays=79
         redating.lmpDueDate=2027-01-05 redating.differenceDays=-8 redating.suggestion=redate)
ralvo_cli_test(dates_bpd_keep ARGS dates ${scan_bpd} --lmp 2026-01-20 --json
    JSON dueDate=2026-10-20 scan.measure=bpd scan.method=Hadlock scan.gestationalAge.weeks=21
         redating.lmpDueDate=2026-10-27 redating.differenceDays=-7 redating.suggestion=keep
         redating.rule.from=16w0d redating.rule.to=21w6d redating.rule.moreThanDays=10)
ralvo_cli_test(dates_ga ARGS dates ${scan_ga} --on 2026-06-10 --json
    JSON dueDate=2027-01-10 scan.measure=ga scan.value=66 scan.method= scan.gestationalAge.totalDays=66
         gestationalAge.totalDays=66)
ralvo_cli_test(dates_crl_lines ARGS dates ${scan_crl} --lmp 2026-04-05 --on 2026-06-10
    STDOUT_CONTAINS "\n計測時の妊娠週数　　：CRL 45.0mm・11週1日（INTERGROWTH-21st）\n" STDERR_LINES 0)
ralvo_cli_test(dates_redate_line ARGS dates ${scan_crl} --lmp 2026-04-05 --on 2026-06-10
    STDOUT_CONTAINS "\n修正の目安　　　　　：超音波の予定日に修正（9週0日～15週6日は7日を超える差で修正）\n")
# Measurements outside their method's range, or not decimals with at most
# one decimal place: status 2, the range named.
foreach(case "crl;14.9;15.0 から 95.0" "crl;95.1;15.0 から 95.0" "crl;22.55;15.0 から 95.0"
             "crl;4.5e1;15.0 から 95.0" "crl; 45;15.0 から 95.0" "bpd;19.9;20.0 から 100.0"
             "bpd;100.1;20.0 から 100.0" "ga;3+6;4週0日 から 43週6日" "ga;44w0d;4週0日 から 43週6日"
             "ga;9+7;4週0日 から 43週6日" "ga;9;4週0日 から 43週6日")
    list(GET case 0 measure)
    list(GET case 1 value)
    list(GET case 2 range)
    string(MAKE_C_IDENTIFIER "${measure}_${value}" id)
    ralvo_cli_test(dates_refused_${id} ARGS dates --basis ${measure} "--${measure}=${value}" ${scan_day}
        STATUS 2 STDERR_LINES 1 STDERR_CONTAINS "${range}")
endforeach()
ralvo_cli_test(text_robinson_out_of_range ARGS text --basis crl --crl 84.1 --method robinson ${scan_day}
    STATUS 2 STDERR_LINES 1 STDERR_CONTAINS "10.0 から 84.0")
ralvo_cli_test(page_crl_out_of_range ARGS page --basis crl --crl 96 ${scan_day} --defaults -o @OUT@
    OUTPUT_FILE out.png STATUS 2 STDERR_LINES 1 STDERR_CONTAINS "15.0 から 95.0")
ralvo_cli_test(ics_ga_out_of_range ARGS ics --basis ga --ga 44+0 ${scan_day} --defaults
    STATUS 2 STDERR_LINES 1 STDERR_CONTAINS "4週0日 から 43週6日")
ralvo_cli_test(scan_control_characters_escaped ARGS dates --basis crl "--crl=4\t5" ${scan_day}
    STATUS 2 STDERR_LINES 1 STDERR_CONTAINS "4\\t5")
# The options that belong together.
ralvo_cli_test(crl_without_value ARGS text --basis crl ${scan_day} STATUS 64 STDERR_CONTAINS --crl)
ralvo_cli_test(crl_repeated ARGS text ${scan_crl} --crl 46 STATUS 64 STDERR_CONTAINS --crl)
ralvo_cli_test(crl_with_other_basis ARGS text --basis 0 --crl 45 ${scan_day} --cycle 28
    STATUS 64 STDERR_CONTAINS --crl)
ralvo_cli_test(method_with_bpd ARGS dates ${scan_bpd} --method robinson STATUS 64 STDERR_CONTAINS --method)
ralvo_cli_test(unknown_method ARGS dates ${scan_crl} --method hadlock STATUS 64 STDERR_CONTAINS hadlock)
ralvo_cli_test(lmp_without_scan ARGS dates ${lmp} --lmp 2024-01-01 STATUS 64 STDERR_CONTAINS --lmp)
ralvo_cli_test(bad_lmp ARGS dates ${scan_crl} --lmp 2026-02-30 STATUS 64 STDERR_CONTAINS --lmp)
ralvo_cli_test(scan_in_batch_refused ARGS page --defaults --batch ${cli_data}/batch-utf8.csv --crl 45 -o x.pdf
    STATUS 64)
ralvo_cli_test(calendar_crl ARGS calendar ${scan_crl} --defaults --dpi 30 -o @OUT@ OUTPUT_FILE cal.png
    STDERR_LINES 0)
ralvo_cli_test(calendar_bpd_out_of_range ARGS calendar --basis bpd --bpd 19 ${scan_day} --defaults -o @OUT@
    OUTPUT_FILE cal.png STATUS 2 STDERR_LINES 1 STDERR_CONTAINS "20.0 から 100.0")
