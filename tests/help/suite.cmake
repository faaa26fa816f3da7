# The help's topics, pictures and page layout, from the program's own resources.
ondav_add_suite(help_tests help LIBS ondavcore ondavres)
