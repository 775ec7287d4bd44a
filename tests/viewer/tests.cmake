verdel_test(test_viewer viewer/test_navigation.cpp)

verdel_qt_test(test_view_form viewer/test_view_form.cpp)
add_dependencies(test_view_form verdel_data)
