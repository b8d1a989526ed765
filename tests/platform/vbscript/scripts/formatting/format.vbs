' FormatNumber, FormatCurrency, FormatPercent (half away from zero) and FormatDateTime.
Print FormatNumber(1234567.891), FormatNumber(0), FormatNumber("12.3")    ' => "1,234,567.89", "0.00", "12.30"
Print FormatNumber(0.5, 0), FormatNumber(2.5, 0), FormatNumber(0.125, 2), FormatNumber(-0.125, 2) ' => "1", "3", "0.13", "-0.13"
Print FormatNumber(-1234.5, 1), FormatNumber(0.25, 2, 0), FormatNumber(-5, 0, , -1), FormatNumber(1234.5, 2, , , 0) ' => "-1,234.5", ".25", "(5)", "1234.50"
Print FormatCurrency(1234.5), FormatCurrency(-3), FormatCurrency(-3, 2, , 0), FormatCurrency(1000, 0) ' => "$1,234.50", "($3.00)", "-$3.00", "$1,000"
Print FormatPercent(0.1234), FormatPercent(0.5, 0), FormatPercent(-0.05)  ' => "12.34%", "50%", "-5.00%"
d = #3/5/2024 1:45:10 PM#
Print FormatDateTime(d), FormatDateTime(d, vbLongDate), FormatDateTime(d, vbShortDate) ' => "3/5/2024 1:45:10 PM", "Tuesday, March 5, 2024", "3/5/2024"
Print FormatDateTime(d, vbLongTime), FormatDateTime(d, vbShortTime), FormatDateTime(#3/5/2024#) ' => "1:45:10 PM", "13:45", "3/5/2024"
x = FormatNumber("abc")                          ' => error 13
