# Printing the calendar page to a printer, the print preview or a PDF file.
hv6_library(hv6_calendar_print SOURCES printing.cpp PUBLIC_LIBS vqbase106 Qt6::Widgets Qt6::PrintSupport)
