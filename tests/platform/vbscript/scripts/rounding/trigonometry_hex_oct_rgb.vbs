' Atn, Sin, Cos, Tan in radians; Hex and Oct round half to even and show 16 bits for the
' Integer-sized subtypes, 32 bits for Longs; RGB clips each part at 255; Timer counts seconds.
Print Atn(1) * 4, Sin(0), Cos(0), Tan(0), Atn(Null), Sin("0")     ' => 3.14159265358979#, 0#, 1#, 0#, Null, 0#
Print Round(Sin(Atn(1) * 2), 10), Round(Tan(Atn(1)), 10)          ' => 1#, 1#
Print Hex(255), Hex(0), Hex(459), Hex(-1), Hex(CLng(-1)), Hex(CInt(-32768)) ' => "FF", "0", "1CB", "FFFF", "FFFFFFFF", "8000"
Print Hex(2.5), Hex(3.5), Hex(Empty), Hex(Null), Hex("255"), Hex(True) ' => "2", "4", "0", Null, "FF", "FFFF"
Print Hex(CByte(200)), Hex(2147483647), Hex(-2147483647 - 1), Hex(65536) ' => "C8", "7FFFFFFF", "80000000", "10000"
Print Oct(8), Oct(-1), Oct(CLng(-1)), Oct(Null), Oct(Empty)       ' => "10", "177777", "37777777777", Null, "0"
Print RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(300, 1, 0), RGB(1.5, 0, 0) ' => 255&, 65280&, 16711680&, 511&, 2&
Print TypeName(Timer), Timer >= 0 And Timer < 86400               ' => "Single", True
On Error Resume Next
x = Hex(2147483648) : Print Err.Number : Err.Clear   ' => 6&
x = Hex("x") : Print Err.Number : Err.Clear          ' => 13&
x = Sin("x") : Print Err.Number : Err.Clear          ' => 13&
x = RGB(-1, 0, 0) : Print Err.Number : Err.Clear     ' => 5&
x = RGB(0, Null, 0) : Print Err.Number : Err.Clear   ' => 94&
