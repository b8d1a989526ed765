' Dim, Const, assignment and Set; declarations count from the start of their scope.
y = 5
Dim y
Dim a, b : a = 1 : b = a + 1
Print a, b, y                                   ' => 1%, 2%, 5%
Const Rate = 0.08, Title = "工资", Neg = -3
Print Rate, Title, Neg                          ' => 0.08#, "工资", -3%
Let c = 3
Print c                                         ' => 3%
Set o = Nothing
Print TypeName(o)                               ' => "Nothing"
Public p : Private q
p = "public" : q = "private"
Print p & "/" & q                               ' => "public/private"
Rate = 1                                        ' => error 501
