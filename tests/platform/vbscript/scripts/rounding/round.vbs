' Round rounds half to even, keeps the subtype of whole numbers and Currency.
Print Round(2.5), Round(3.5), Round(-2.5), Round(-3.5), Round(0.5) ' => 2#, 4#, -2#, -4#, 0#
Print Round(0.125, 2), Round(0.375, 2), Round(1234.5678, 2), Round(1.005, 2) ' => 0.12#, 0.38#, 1234.57#, 1#
Print Round(2.4), Round(2.6), Round(-2.6), Round(1 / 3, 4) ' => 2#, 3#, -3#, 0.3333#
Print Round(CCur(2.5)), Round(CCur(1.235), 2), Round(CSng(2.5)) ' => 2@, 1.24@, 2!
Print Round(5), Round(CLng(7), 2), Round("2.5"), Round(Null), Round(Empty) ' => 5%, 7&, 2#, Null, 0%
Print Round(123456.785, 2), Round(-0.0051, 2)      ' => 123456.78#, -0.01#
x = Round(1.5, -1)                                  ' => error 5
