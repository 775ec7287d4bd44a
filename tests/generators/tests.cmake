verdel_test(test_generators
  generators/test_random_axiom.cpp
  generators/test_random_rules.cpp
  generators/test_random_generator.cpp
  generators/test_mutator.cpp
  generators/test_generator_cli.cpp
)
add_dependencies(test_generators verdel-cli verdel_data)
