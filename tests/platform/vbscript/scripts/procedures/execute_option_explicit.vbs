' Under Option Explicit a name counts as declared once Execute or ExecuteGlobal has declared it,
' though the code that uses it was compiled before.
Option Explicit
Execute "Dim later : later = 5"
Print later, Eval("later + 1")         ' => 5%, 6%
later = later * 2
Print later                            ' => 10%
Sub Inside()
    Execute "Dim mine : mine = 3"
    mine = mine + 1
    Print mine                         ' => 4%
    ExecuteGlobal "Dim everywhere : everywhere = 1"
End Sub
Inside
Print everywhere                       ' => 1%
ExecuteGlobal "Function Answer() : Answer = 42 : End Function"
Print Answer                           ' => 42%
Print neverDeclared                    ' => error 500
