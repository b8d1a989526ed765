' unary - > ^ > * / > \ > Mod > + - > & > comparisons > Not > And > Or > Xor > Eqv > Imp
Print -2 ^ 2, 2 ^ 3 ^ 2, 2 ^ -1                 ' => 4#, 64#, 0.5#
Print 2 + 3 * 4, 7 \ 2 * 3, 10 Mod 4 \ 2       ' => 14%, 1%, 0%
Print -3 Mod 2, 5 - -3, 2 * 3 Mod 4             ' => -1%, 8%, 2%
Print 1 + 2 & 3 + 4                             ' => "37"
Print 1 + 2 = 3, Not 1 = 2                      ' => True, True
Print True Or False And False                   ' => True
Print True Xor True Or True                     ' => False
Print False Eqv False Xor True                  ' => False
Print False Imp True Eqv False                  ' => True
Print (2 + 3) * 4, -(2 ^ 2)                     ' => 20%, -4#
