' A dynamic array without dimensions has no element to read, even with no index.
Dim a()
x = a() ' => error 9
