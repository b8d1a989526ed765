' An array larger than memory allows, or whose dimensions multiply past the machine's word,
' fails as Out of memory before anything is allocated.
Dim a()
ReDim a(3)
Print UBound(a) ' => 3&
ReDim a(2000000000, 2000000000, 2000000000) ' => error 7
