' Two-digit years: 0 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999.
Print DateSerial(0, 1, 1), DateSerial(29, 12, 31), DateSerial(30, 1, 1), DateSerial(99, 6, 1) ' => #1/1/2000#, #12/31/2029#, #1/1/1930#, #6/1/1999#
Print CDate("1/1/29"), CDate("1/1/30"), DateValue("12/31/00"), DateValue("7/4/99") ' => #1/1/2029#, #1/1/1930#, #12/31/2000#, #7/4/1999#
Print #1/1/29#, #1/1/30#, #2/29/00#             ' => #1/1/2029#, #1/1/1930#, #2/29/2000#
Print DateSerial(100, 1, 1), Year(DateSerial(5, 1, 1)) ' => #1/1/100#, 2005%
