' True, False, Empty, Null, Nothing; True is -1.
Print True, False, Empty, Null, Nothing          ' => True, False, Empty, Null, Nothing
Print CInt(True), CInt(False), True = -1         ' => -1%, 0%, True
Print VarType(True), VarType(Empty), VarType(Null), VarType(Nothing) ' => 11%, 0%, 1%, 9%
Print TypeName(Nothing), IsObject(Nothing)       ' => "Nothing", True
