' CInt, CLng, CByte round half to even; beyond their range they overflow.
Print CInt(0.5), CInt(1.5), CInt(2.5), CInt(3.5)   ' => 0%, 2%, 2%, 4%
Print CInt(-0.5), CInt(-1.5), CInt(2.6), CInt(-2.6) ' => 0%, -2%, 3%, -3%
Print CInt("3.5"), CInt(True), CInt(Empty), CInt(#1/1/1900#) ' => 4%, -1%, 0%, 2%
Print CLng(2.5), CLng(3.5), CLng("1,234"), CLng(" -7 ") ' => 2&, 4&, 1234&, -7&
Print CByte(255.4), CByte("12"), CInt(32767.4)     ' => CByte(255), CByte(12), 32767%
x = CInt(32767.5)                                  ' => error 6
