ondav_add_suite(framework_tests framework LIBS ondavfw)
