' The vb constants: their values and subtypes; they cannot be assigned.
Print vbTrue, vbFalse, vbUseDefault, vbString, vbLong, vbArray + vbVariant ' => -1%, 0%, -2%, 8%, 3%, 8204%
Print vbSunday, vbSaturday, vbFirstFourDays, vbLongDate, vbTextCompare ' => 1%, 7%, 2%, 1%, 1%
Print vbYesNo + vbQuestion, vbYes, vbCancel, vbObjectError, vbWhite ' => 36%, 6%, 2%, -2147221504&, 16777215&
Print Len(vbCrLf), Asc(vbCr), Asc(vbLf), vbNullString = "", Len(vbNullChar) ' => 2&, 13%, 10%, True, 1&
VBCRLF = "x"                                     ' => error 501
