' \ and Mod round their operands half to even first; the result is a whole number.
Print 5.5 \ 2, 4.5 \ 2, 6.5 \ 1, -2.5 \ 1          ' => 3&, 2&, 6&, -2&
Print 7 Mod 2.5, 6.5 Mod 4, 7.5 Mod 4, -7.5 Mod 4  ' => 1&, 2&, 0&, 0&
Print CByte(7) \ CByte(2), CInt(7) \ 2, CLng(7) \ 2, "7" \ 2 ' => CByte(3), 3%, 3&, 3&
Print Null \ 2, 5 Mod Null                         ' => Null, Null
x = 5 \ 0.4                                        ' => error 11
