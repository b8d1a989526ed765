' Text read as a number: blanks around, sign, grouping commas, exponent, &H and &O.
Print CDbl("1.5e3"), CDbl(" 12 "), CDbl("-1,234.5"), CDbl("&H1F"), CDbl("&O17") ' => 1500#, 12#, -1234.5#, 31#, 15#
Print CDbl(".5"), CDbl("5."), CDbl("1D2")          ' => 0.5#, 5#, 100#
Print CSng("0.1"), CCur("1.23456"), CCur(12345.67891), CCur(-0.5)  ' => 0.1!, 1.2346@, 12345.6789@, -0.5@
Print IsNumeric("12"), IsNumeric("1.5e3"), IsNumeric("abc"), IsNumeric("") ' => True, True, False, False
Print IsNumeric(Empty), IsNumeric(Null), IsNumeric(" 7 "), IsNumeric("&H10") ' => True, False, True, True
Print IsNumeric(True), IsNumeric(#1/1/2024#), IsNumeric("1 2"), IsNumeric("--1") ' => True, False, False, False
x = CDbl("12abc")                                  ' => error 13
