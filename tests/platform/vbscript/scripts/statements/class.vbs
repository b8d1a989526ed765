' Classes: fields, Public/Private members, Property Get/Let/Set, Default, Me, and the order
' of Class_Initialize and Class_Terminate.
Dim log
Class Employee
    Public Name
    Private mRate
    Private mHours(1)
    Dim mManager

    Private Sub Class_Initialize()
        mRate = 10
        log = log & "init;"
    End Sub
    Private Sub Class_Terminate()
        log = log & "end " & Name & ";"
    End Sub

    Public Property Get Rate()
        Rate = mRate
    End Property
    Public Property Let Rate(value)
        If value < 0 Then Exit Property
        mRate = value
    End Property
    Property Get Manager()
        Set Manager = mManager
    End Property
    Property Set Manager(value)
        Set mManager = value
    End Property
    Property Get Hours(i)
        Hours = mHours(i)
    End Property
    Property Let Hours(i, value)
        mHours(i) = value
    End Property

    Public Default Function Pay()
        Pay = Total() * Rate
    End Function
    Private Function Total()
        Total = mHours(0) + mHours(1)
    End Function
    Public Function Self()
        Set Self = Me
    End Function
    Sub Raise(by)
        Rate = Rate + by
    End Sub
End Class

Set e = New Employee
Print log, TypeName(e), IsObject(e)             ' => "init;", "Employee", True
e.Name = "Ann"
e.Rate = 12
e.Rate = -1
e.Hours(0) = 3
e.Hours(1) = 4
total = e
Print e.Rate, e.Hours(1), e.Pay, total, e + 1   ' => 12%, 4%, 84%, 84%, 85%
e.Raise 3
Print e.Rate, e.Self.Name, e.Self Is e          ' => 15%, "Ann", True
Set boss = New Employee
boss.Name = "Bob"
Set e.Manager = boss
Print e.Manager.Name                            ' => "Bob"
log = ""
Set boss = Nothing
Print log                                       ' => ""
Set e = Nothing
Print log                                       ' => "end Ann;end Bob;"
Sub Scoped()
    Dim t
    Set t = New Employee
    t.Name = "Tim"
End Sub
log = ""
Scoped
Print log                                       ' => "init;end Tim;"
Class Counter
    Sub Bump(n) : n = n + 1 : End Sub
    Sub Keep(ByVal n) : n = 0 : End Sub
    Sub Twice(n) : Bump n : Me.Bump n : End Sub
End Class
Set k = New Counter
Dim counts(1)
c = 1 : k.Bump c : k.Keep c : k.Twice c : k.Bump counts(1) : k.Bump (c)
Print c, counts(1)                              ' => 4%, 1%
Class Scripted
    Private mTotal
    Sub Run(code) : Execute code : End Sub
    Function Value(expression) : Value = Eval(expression) : End Function
End Class
Set s = New Scripted
s.Run "mTotal = 40 : Me.Run ""mTotal = mTotal + 2"""
Print s.Value("mTotal"), s.Value("TypeName(Me)") ' => 42%, "Scripted"
Class Watcher
    Public Tag
    Private Sub Class_Terminate()
        log = log & Tag & " saw " & TypeName(watched) & " " & TypeName(pool) & ";"
    End Sub
End Class
Dim pool()
ReDim pool(1)
Set watched = New Watcher : watched.Tag = "first"
log = ""
Set watched = New Watcher : watched.Tag = "second"
Set pool(0) = New Watcher : pool(0).Tag = "pooled"
Erase pool
Print log                           ' => "first saw Watcher Variant();pooled saw Watcher Variant();"
Set e = New Employee
On Error Resume Next
x = e.Total
Print Err.Number                                ' => 438&
Err.Clear
y = e.mRate
Print Err.Number                                ' => 438&
On Error GoTo 0
Set n = New Missing                             ' => error 506
