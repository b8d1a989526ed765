' Fixed and dynamic arrays, several dimensions, ReDim [Preserve], Erase, value semantics.
Dim a(3)
Print UBound(a), LBound(a), IsEmpty(a(0))        ' => 3&, 0&, True
a(0) = "x" : a(3) = 5
Print a(0), a(3)                                 ' => "x", 5%
Dim m(2, 3)
m(1, 2) = "mid"
Print UBound(m, 1), UBound(m, 2), m(1, 2)        ' => 2&, 3&, "mid"
Dim d()
ReDim d(2)
d(0) = 1 : d(2) = 3
ReDim Preserve d(4)
Print d(0), d(2), IsEmpty(d(4)), UBound(d)       ' => 1%, 3%, True, 4&
ReDim d(1)
Print IsEmpty(d(0)), UBound(d)                   ' => True, 1&
b = Array(1, "two", 3.5)
c = b
c(0) = 100
Print b(0), c(0), UBound(b), b                   ' => 1%, 100%, 2&, Array(1%, "two", 3.5#)
Dim f(2) : f(1) = 9 : Erase f
Print IsEmpty(f(1)), UBound(f)                   ' => True, 2&
ReDim grid(1, 1) : grid(0, 0) = 1 : grid(1, 0) = 2 : grid(0, 1) = 3 : grid(1, 1) = 4
out = "" : For Each v In grid : out = out & v : Next
Print out                                        ' => "1234"
ReDim Preserve grid(1, 2)
Print grid(1, 1), UBound(grid, 2)                ' => 4%, 2&
Function MakeArray() : MakeArray = Array(7, 8) : End Function
Print MakeArray()(1), IsArray(MakeArray()), UBound(Array()) ' => 8%, True, -1&
Print Join(Array("a", "b", "c"), "-"), Join(Array(1, 2)), Join(Array()) ' => "a-b-c", "1 2", ""
s = Split("a,b,,c", ",")
Print UBound(s), s(2), s(3)                      ' => 3&, "", "c"
Print UBound(Split("")), UBound(Split("a b")), Split("a-b-c", "-", 2)(1), Split("aXbxc", "x", -1, vbTextCompare)(2) ' => -1&, 1&, "b-c", "c"
On Error Resume Next
ReDim Preserve grid(2, 2) : Print Err.Number : Err.Clear ' => 9&
Dim fixed(2) : ReDim fixed(5) : Print Err.Number : Err.Clear ' => 10&
x = UBound(5) : Print Err.Number : Err.Clear       ' => 13&
x = UBound(a, 2) : Print Err.Number : Err.Clear    ' => 9&
Erase d : x = UBound(d) : Print Err.Number : Err.Clear ' => 9&
On Error GoTo 0
Print a(4)                                         ' => error 9
