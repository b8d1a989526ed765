Option Explicit
' Every variable must be declared; an undeclared one fails when it is reached.
Dim declared
declared = 1
Print declared                                  ' => 1%
undeclared = 2                                  ' => error 500
