' Text literals: "" stands for one quote; any characters, Chinese included.
Print "", "a""b", """"                      ' => "", "a""b", """"
Print "工资合计", Len("工资合计")               ' => "工资合计", 4&
Print "it's" & " ok"                        ' => "it's ok"
