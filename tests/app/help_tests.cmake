verdel_test(test_rtf app/test_rtf_reader.cpp)

verdel_qt_test(test_help_windows app/test_help_windows.cpp)
