' Filter keeps the texts that contain a value (or, with include False, those that do not).
days = Array("Sunday", "Monday", "Saturday")
Print Filter(days, "S"), Filter(days, "S", False)                  ' => Array("Sunday", "Saturday"), Array("Monday")
Print Filter(Array("abc", "ABC", "x"), "b", True, vbTextCompare)   ' => Array("abc", "ABC")
Print Filter(Array(1, 12, 3), "1"), UBound(Filter(days, "z"))      ' => Array("1", "12"), -1&
On Error Resume Next
x = Filter("abc", "a") : Print Err.Number : Err.Clear              ' => 13&
x = Filter(days, "a", True, 3) : Print Err.Number : Err.Clear      ' => 5&
