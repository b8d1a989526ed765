' A call must pass exactly the declared number of arguments.
Function Add(a, b) : Add = a + b : End Function
Print Add(1, 2)                                 ' => 3%
Print Add(1)                                    ' => error 450
