' MonthName and WeekdayName in English; the weekday counts from firstdayofweek (Sunday by default).
Print MonthName(1), MonthName(12, True), MonthName(5, False), MonthName("2")  ' => "January", "Dec", "May", "February"
Print WeekdayName(1), WeekdayName(7, True), WeekdayName(1, False, vbMonday), WeekdayName(7, False, vbMonday) ' => "Sunday", "Sat", "Monday", "Sunday"
Print WeekdayName(Weekday(#3/5/2024#)), WeekdayName(3, True, vbUseSystemDayOfWeek) ' => "Tuesday", "Tue"
On Error Resume Next
x = MonthName(0) : Print Err.Number : Err.Clear             ' => 5&
x = MonthName(13) : Print Err.Number : Err.Clear            ' => 5&
x = WeekdayName(8) : Print Err.Number : Err.Clear           ' => 5&
x = WeekdayName(1, False, 8) : Print Err.Number : Err.Clear ' => 5&
x = MonthName(Null) : Print Err.Number : Err.Clear          ' => 94&
