' Not, And, Or, Xor, Eqv, Imp: bitwise on numbers, Boolean on Booleans, Null by truth tables.
Print True And False, True Or False, True Xor True, Not True ' => False, True, False, False
Print 12 And 10, 12 Or 10, 12 Xor 10, Not 5     ' => 8%, 14%, 6%, -6%
Print True Eqv True, True Imp False, False Imp True ' => True, False, True
Print 1 And True, CLng(1) Or 2, 2.5 And 7, Not Empty ' => 1%, 3&, 2&, -1%
Print Null And False, Null And True, Null Or True, Null Or False ' => False, Null, True, Null
Print Not Null, Null Xor True, True Eqv Null    ' => Null, Null, Null
Print Null Imp True, True Imp Null, False Imp Null, Null Imp False ' => True, Null, True, Null
