ondav_add_suite(document_tests document LIBS ondavcore ondavres)
