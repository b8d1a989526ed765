' &H and &O literals take the smallest type that holds their 16- or 32-bit value.
Print &HFFFF, &H7FFF, &H8000, &HFFFF8000         ' => -1%, 32767%, -32768%, -32768%
Print &HFFFFFFFF, &HFFFFFFFE, &H10000, &H7FFFFFFF ' => -1%, -2%, 65536&, 2147483647&
Print &H80000000, &O177777, &O37777777777, &O200000 ' => -2147483648&, -1%, -1%, 65536&
Print TypeName(&HFFFF), TypeName(&HFFFFFFFF), VarType(&HFFFF0000) ' => "Integer", "Integer", 3%
