' DateAdd keeps the day within the month; DateDiff counts boundaries crossed.
Print DateAdd("d", 10, #2/25/2024#), DateAdd("m", 1, #1/31/2024#), DateAdd("yyyy", 1, #2/29/2024#) ' => #3/6/2024#, #2/29/2024#, #2/28/2025#
Print DateAdd("q", 1, #11/30/2024#), DateAdd("ww", 2, #3/5/2024#), DateAdd("y", -1, #1/1/2024#) ' => #2/28/2025#, #3/19/2024#, #12/31/2023#
Print DateAdd("h", 25, #3/5/2024#), DateAdd("n", -30, #3/5/2024#), DateAdd("s", 61, #3/5/2024#) ' => #3/6/2024 1:00:00 AM#, #3/4/2024 11:30:00 PM#, #3/5/2024 12:01:01 AM#
Print DateDiff("d", #3/1/2024#, #3/5/2024#), DateDiff("d", #3/5/2024#, #3/1/2024#), DateDiff("m", #1/31/2024#, #2/1/2024#) ' => 4&, -4&, 1&
Print DateDiff("yyyy", #12/31/2023#, #1/1/2024#), DateDiff("q", #1/1/2024#, #12/31/2024#) ' => 1&, 3&
Print DateDiff("h", #3/5/2024 11:59 PM#, #3/6/2024 12:01 AM#), DateDiff("s", #3/5/2024#, #3/5/2024 12:01:30 AM#) ' => 1&, 90&
Print DateDiff("ww", #3/2/2024#, #3/3/2024#), DateDiff("w", #3/1/2024#, #3/15/2024#), DateDiff("n", #1:00#, #2:30#) ' => 1&, 2&, 90&
Print DatePart("q", #8/15/2024#), DatePart("y", #3/5/2024#), DatePart("w", #3/5/2024#), DatePart("yyyy", #3/5/2024#) ' => 3%, 65%, 3%, 2024%
Print DatePart("ww", #1/1/2024#), DatePart("ww", #3/5/2024#), DatePart("ww", #1/1/2021#, vbMonday, vbFirstFourDays) ' => 1%, 10%, 53%
x = DateAdd("x", 1, #1/1/2024#)                  ' => error 5
