' A call, property read or Set on Nothing or on a value that is no object is 424 Object
' required; using Nothing where its value is needed is 91 Object variable not set.
On Error Resume Next
Set o = Nothing
Dim n : n = 5
Dim cases(6)
o.Run : cases(0) = Err.Number : Err.Clear
x = o.Name : cases(1) = Err.Number : Err.Clear
o.Name = 1 : cases(2) = Err.Number : Err.Clear
Set o.Child = Nothing : cases(3) = Err.Number : Err.Clear
n.Run : cases(4) = Err.Number : Err.Clear
Set x = 5 : cases(5) = Err.Number : Err.Clear
x = o + 1 : cases(6) = Err.Number : Err.Clear
Print cases(0), cases(1), cases(2), cases(3)    ' => 424&, 424&, 424&, 424&
Print cases(4), cases(5), cases(6)              ' => 424&, 424&, 91&
Print Err.Description                           ' => ""
o.Run
Print Err.Description                           ' => "Object required"
