' The result takes the wider operand type; integer results widen on overflow.
Print 32767 + 1, CInt(-32768) - 1, 200 * 200   ' => 32768&, -32769&, 40000&
Print 2147483647 + 1, 65536 * 65536             ' => 2147483648#, 4294967296#
Print CByte(200) + CByte(100), CByte(2) + CByte(3) ' => 300%, CByte(5)
Print 1 + 1.5, CSng(1.5) + 1, CSng(1.5) + CLng(1) ' => 2.5#, 2.5!, 2.5#
Print CCur(1.5) + 1, CCur(1.5) * 2.25, CCur(10) / 4 ' => 2.5@, 3.375#, 2.5#
Print True + True, True * 3                     ' => -2%, -3%
Print 10 / 4, 10 / 5, CSng(10) / 4              ' => 2.5#, 2#, 2.5!
Print 7 \ 2, -7 \ 2, 7 Mod 3, -7 Mod 3, 7 Mod -3 ' => 3%, -3%, 1%, -1%, 1%
Print 2 ^ 10, 4 ^ 0.5                           ' => 1024#, 2#
Print #1/1/2024# + 1, #1/1/2024# - 1            ' => #1/2/2024#, #12/31/2023#
Print #1/10/2024# - #1/1/2024#                  ' => 9#
Print 0.1 + 0.2, 1 / 3                          ' => 0.3#, 0.333333333333333#
