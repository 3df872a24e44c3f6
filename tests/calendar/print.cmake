# tests of the printed calendar page
hv6_test(test_calendar_print SOURCES print_test.cpp LIBS hv6_calendar_print)
