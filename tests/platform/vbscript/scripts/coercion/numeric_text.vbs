' Numeric text in the en-US form: a currency sign, accounting parentheses, a trailing sign and
' grouping commas are numbers to CDbl, CCur, IsNumeric and arithmetic; anything else is not.
Print CDbl("$5"), CDbl("(5)"), CDbl("1-"), CDbl("1+"), CDbl("1,234,567.5") ' => 5#, -5#, -1#, 1#, 1234567.5#
Print CDbl("-$5"), CDbl("($1,234.50)"), CDbl(" (2.5) "), CDbl(" 7- ") ' => -5#, -1234.5#, -2.5#, -7#
Print CCur("$1,234.56"), CCur("(0.5)"), CCur("12-") ' => 1234.56@, -0.5@, -12@
Print "$5" + 1, "(5)" * 2, "1,000" - 1, "3-" + 0 ' => 6#, -10#, 999#, -3#
Print IsNumeric("$5"), IsNumeric("(5)"), IsNumeric("1-"), IsNumeric("1,000") ' => True, True, True, True
Print IsNumeric("-5-"), IsNumeric("(5"), IsNumeric("$"), IsNumeric("$$5"), IsNumeric("()") ' => False, False, False, False, False
x = CDbl("(5")                                  ' => error 13
