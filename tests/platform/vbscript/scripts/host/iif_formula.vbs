' IIf comes from the host (as the program's myApp supplies it); names match without regard to case.
a = 6000 : b = 1000 : c = 100
Print IIf(a > 5000, (a - 5000) * 0.1, 0) + b * 0.08 - Round(c / 3, 2) ' => 146.67#
Print iif(False, 1, "x"), IIF(True, CLng(2), 0), IIf("True", 1, 2)    ' => "x", 2&, 1%
Print IIf(1, 2)                                                      ' => error 450
