' Names ignore case and may hold Chinese letters; [brackets] allow any name.
Dim Total, 基本工资, [gross pay]
total = 10 : TOTAL = TOTAL + 1
基本工资 = 5000
[gross pay] = 基本工资 + Total
Print Total, 基本工资, [Gross Pay]                ' => 11%, 5000%, 5011%
Rem a comment statement
Print 1 + _
      2 + _
      3                                         ' => 6%
x = 1: y = 2: Print x + y                       ' => 3%
Print x : Rem the rest of the line is a comment ' => 1%
