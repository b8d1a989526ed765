' A sign belongs to its operand, and ^ groups left to right.
Print -3 ^ 2, 2 ^ 3 ^ 2, -2 ^ 3, 2 ^ -1          ' => 9#, 64#, -8#, 0.5#
x = 3
Print -x ^ 2, -(x ^ 2), 2 * -x ^ 2              ' => 9#, -9#, 18#
Print 10 - 2 ^ 2, -2 ^ 2 * 3                    ' => 6#, 12#
