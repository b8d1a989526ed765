' + on two texts concatenates; a text with a number adds; Empty is 0 or ""; Null spreads.
Print "a" + "b", "3" + 4, "3" * "4"             ' => "ab", 7#, 12#
Print 1 + Empty, Empty + Empty, Empty + "x"     ' => 1%, 0%, "x"
Print Empty - 5, Empty * 2, -Empty              ' => -5%, 0%, 0%
Print Null + 1, 1 - Null, Null * 2, -Null       ' => Null, Null, Null, Null
Print "1" & 2, 1 & Null, Null & Null, 5 & ""    ' => "12", "1", Null, "5"
Print 1.5 & "|" & True & "|" & #3/5/2024#       ' => "1.5|True|3/5/2024"
x = "abc" + 1                                   ' => error 13
