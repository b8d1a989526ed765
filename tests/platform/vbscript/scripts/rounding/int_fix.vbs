' Int rounds down, Fix towards zero; both keep the subtype.
Print Int(2.7), Int(-2.5), Fix(2.7), Fix(-2.5)     ' => 2#, -3#, 2#, -2#
Print Int(CSng(-1.5)), Int(CCur(-1.25)), Fix(CCur(-1.25)), Int(7) ' => -2!, -2@, -1@, 7%
Print Int("3.9"), Int(Null), Int(Empty), Fix(#1/1/2024 6:00 PM#) ' => 3#, Null, 0%, #1/1/2024#
Print Abs(-2.5), Abs(CInt(-32768)), Abs(-5), Abs(Null) ' => 2.5#, 32768&, 5%, Null
Print Sgn(-7), Sgn(0), Sgn(0.1), Sgn("-3")         ' => -1%, 0%, 1%, -1%
