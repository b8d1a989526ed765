' VarType and TypeName of each subtype.
Dim a(2)
Print VarType(CInt(1)), VarType(CLng(1)), VarType(CSng(1)), VarType(CDbl(1)) ' => 2%, 3%, 4%, 5%
Print VarType(CCur(1)), VarType(Now), VarType("x"), VarType(True), VarType(CByte(1)) ' => 6%, 7%, 8%, 11%, 17%
Print VarType(a), VarType(Empty), VarType(Null)    ' => 8204%, 0%, 1%
Print TypeName(1), TypeName(70000), TypeName(1.5), TypeName(CSng(1)) ' => "Integer", "Long", "Double", "Single"
Print TypeName(CCur(1)), TypeName(Date), TypeName(""), TypeName(False) ' => "Currency", "Date", "String", "Boolean"
Print TypeName(CByte(1)), TypeName(a), TypeName(Empty), TypeName(Null), TypeName(Err) ' => "Byte", "Variant()", "Empty", "Null", "Object"
Print IsEmpty(x), IsEmpty(""), IsNull(Null), IsArray(a), IsArray("a") ' => True, False, True, True, False
