' CStr and the text form of values: 15 significant digits for Double, 7 for Single.
Print CStr(1.5), CStr(-0.25), CStr(1E+20), CStr(1.5E-07) ' => "1.5", "-0.25", "1E+20", "1.5E-07"
Print CStr(123456789012345), CStr(1234567890123456) ' => "123456789012345", "1.23456789012346E+15"
Print CStr(0.0001), CStr(0.00001), CStr(1 / 3)      ' => "0.0001", "1E-05", "0.333333333333333"
Print CStr(CSng(1) / 3), CStr(CCur(2.5)), CStr(CCur(1) / 8) ' => "0.3333333", "2.5", "0.125"
Print CStr(True), CStr(False), CStr(Empty), CStr(-0) ' => "True", "False", "", "0"
Print CStr(#3/5/2024#), CStr(#3/5/2024 9:05:01 AM#), CStr(#18:00#) ' => "3/5/2024", "3/5/2024 9:05:01 AM", "6:00:00 PM"
x = CStr(Null)                                     ' => error 94
