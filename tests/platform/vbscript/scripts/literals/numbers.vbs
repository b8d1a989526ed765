' Number literals take the smallest subtype that holds them.
Print 1, 32767, 32768, 2147483647, 2147483648 ' => 1%, 32767%, 32768&, 2147483647&, 2147483648#
Print 1.5, .5, 1E3, 1.5e-7, 2.5E+20           ' => 1.5#, 0.5#, 1000#, 1.5E-07#, 2.5E+20#
Print &H10, &HFFFF, &H7FFFFFFF, &HFFFFFFFF     ' => 16%, -1%, 2147483647&, -1%
Print &O17, &17                               ' => 15%, 15%
Print -32768, -5                               ' => -32768&, -5%
