' CBool takes numbers and the words True/False; CDate takes numbers and date text.
Print CBool(5), CBool(0), CBool(-0.1), CBool("True"), CBool("false"), CBool("0") ' => True, False, True, True, False, False
Print CBool(Empty), CBool(" TRUE "), CBool(#1/1/2000#) ' => False, True, True
Print CDate("3/5/2024"), CDate(45000), CDate(45000.5), CDate(0) ' => #3/5/2024#, #3/15/2023#, #3/15/2023 12:00:00 PM#, #12:00:00 AM#
Print CDate("2024-12-31 23:59:59"), CDate("5 Mar 2024"), CDate("13/1/2024") ' => #12/31/2024 11:59:59 PM#, #3/5/2024#, #1/13/2024#
Print CDbl(#1/1/1900#), CDbl(#12/30/1899 6:00#), CDbl(#12/29/1899 6:00#) ' => 2#, 0.25#, -1.25#
Print IsDate("3/5/2024"), IsDate("2024-02-30"), IsDate("hello"), IsDate(45000) ' => True, False, False, False
x = CBool("yes")                                   ' => error 13
