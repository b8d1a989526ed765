' Date parts, serials, arithmetic and differences.
Print DateSerial(2024, 2, 30), DateSerial(2024, 13, 1), DateSerial(2024, 1, 0) ' => #3/1/2024#, #1/1/2025#, #12/31/2023#
Print DateSerial(99, 1, 1), DateSerial(2024, -1, 15)   ' => #1/1/1999#, #11/15/2023#
Print TimeSerial(13, 30, 0), TimeSerial(0, 90, 0), TimeSerial(25, 0, 0) ' => #1:30:00 PM#, #1:30:00 AM#, #12/31/1899 1:00:00 AM#
d = #3/5/2024 1:45:10 PM#
Print Year(d), Month(d), Day(d), Hour(d), Minute(d), Second(d) ' => 2024%, 3%, 5%, 13%, 45%, 10%
Print Weekday(d), Weekday(d, vbMonday), Weekday(d, vbSaturday), Year(Null) ' => 3%, 2%, 4%, Null
Print DateValue("3/5/2024 13:45"), TimeValue("3/5/2024 13:45") ' => #3/5/2024#, #1:45:00 PM#
Print TypeName(Date), TypeName(Now), Int(Now) = Date, Time < 1 ' => "Date", "Date", True, True
