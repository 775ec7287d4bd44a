verdel_test(test_app_core
  app/test_settings.cpp
)

verdel_qt_test(test_main_form app/test_main_form.cpp)
add_dependencies(test_main_form verdel_data)
