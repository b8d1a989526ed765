' RegExp through CreateObject("VBScript.RegExp") and New RegExp: Test, Replace with $ forms,
' Execute with its matches and submatches, Global, IgnoreCase and Multiline.
Set re = CreateObject("VBScript.RegExp")
re.Pattern = "(\d+)-(\d+)"
Print re.Test("tel 12-34"), re.Test("none"), TypeName(re), re.Pattern  ' => True, False, "IRegExp2", "(\d+)-(\d+)"
Print re.Global, re.IgnoreCase, re.Multiline                           ' => False, False, False
Print re.Replace("1-2 3-4", "$2-$1"), re.Replace("none", "x")         ' => "2-1 3-4", "none"
re.Global = True
Print re.Replace("1-2 3-4", "[$&]"), re.Replace("a1-2b", "$`|$'|$$|$3|$") ' => "[1-2] [3-4]", "aa|b|$|$3|$b"
Set ms = re.Execute("x 12-34 y 5-6")
Print ms.Count, ms(0).Value, ms(0).FirstIndex, ms(0).Length, ms.Item(1).Value ' => 2&, "12-34", 2&, 5&, "5-6"
Print ms(1).SubMatches(0), ms(1).SubMatches.Count, ms(1).SubMatches.Item(1), ms(0) & "" ' => "5", 2&, "6", "12-34"
For Each m In ms : p = p & m.FirstIndex & ";" : Next
Print p, TypeName(ms), TypeName(ms(0)), TypeName(ms(0).SubMatches)     ' => "2;10;", "IMatchCollection2", "IMatch2", "ISubMatches"
re.Global = False
Print re.Execute("1-1 2-2").Count, re.Execute("no").Count               ' => 1&, 0&
re.Pattern = "^ab"
re.IgnoreCase = True
Print re.Execute("AB" & vbLf & "ab").Count                              ' => 1&
re.Multiline = True
re.Global = True
Print re.Execute("AB" & vbLf & "ab").Count, Replace(re.Replace("ab" & vbLf & "Ab", "x"), vbLf, "|") ' => 2&, "x|x"
re.Pattern = "(a)|(b)"
Set m = re.Execute("b")(0)
Print IsEmpty(m.SubMatches(0)), m.SubMatches(1)                        ' => True, "b"
re.Pattern = "\s+"
Print re.Replace("  工资  总额 ", " ")                                 ' => " 工资 总额 "
' Without Multiline, $ is the end of the text only, not the place before a final line break.
re.Multiline = False
re.Pattern = "c$|[$]"
Print re.Test("abc" & vbLf), re.Test("abc"), re.Replace("a$c", "x")     ' => False, True, "axx"
On Error Resume Next
re.Pattern = "("
x = re.Test("a") : Print Err.Number : Err.Clear                        ' => 5017&
x = ms(2) : Print Err.Number : Err.Clear                               ' => 5&
x = re : Print Err.Number : Err.Clear                                  ' => 438&
Set re2 = New RegExp
re2.Pattern = "b+"
Print TypeName(re2), re2.Replace("abbbc", "-")                          ' => "IRegExp2", "a-c"
