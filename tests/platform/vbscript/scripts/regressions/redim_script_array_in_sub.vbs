' ReDim in a Sub of a script-level array made a new local array instead of resizing it.
Dim list()
Sub Resize(n) : ReDim Preserve list(n) : list(n) = n : End Sub
Resize 3
Print UBound(list), list(3)                      ' => 3&, 3%
