# Tests that run the built ralvo-schedule tool (see RunCli.cmake).
if(TARGET ralvo-schedule)
    set(cli_data ${CMAKE_CURRENT_LIST_DIR}/data)

    # ralvo_cli_test(NAME ARGS a b c ... [EXPECTED file] [STATUS n] [...])
    function(ralvo_cli_test name)
        cmake_parse_arguments(PARSE_ARGV 1 t ""
            "EXPECTED;STATUS;STDOUT_CONTAINS;STDERR_CONTAINS;STDERR_LINES;OUTPUT_FILE" "ARGS")
        list(JOIN t_ARGS "^^" joined)
        set(defines -DTOOL=$<TARGET_FILE:ralvo-schedule> "-DARGS=${joined}"
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
endif()

# The --set handling lives in the tool's sources; its unit test compiles them in.
if(TARGET cli_setting_overrides_test)
    target_sources(cli_setting_overrides_test PRIVATE ${CMAKE_SOURCE_DIR}/app/cli/SettingOverrides.cpp)
endif()

# Runs the built tool against full disks, devices, FIFOs and desktop
# environments.
if(TARGET cli_output_files_test AND TARGET ralvo-schedule)
    add_dependencies(cli_output_files_test ralvo-schedule)
    target_compile_definitions(cli_output_files_test PRIVATE
        RALVO_SCHEDULE_TOOL="$<TARGET_FILE:ralvo-schedule>"
        RALVO_CLI_DATA="${CMAKE_CURRENT_LIST_DIR}/data")
endif()

# The batch file's table reading lives in the tool's sources too.
if(TARGET cli_batch_table_test)
    target_sources(cli_batch_table_test PRIVATE
        ${CMAKE_SOURCE_DIR}/app/cli/CsvTable.cpp ${CMAKE_SOURCE_DIR}/app/cli/BatchFile.cpp
        ${CMAKE_SOURCE_DIR}/app/cli/ScheduleOptions.cpp ${CMAKE_SOURCE_DIR}/app/cli/SettingOverrides.cpp)
endif()
