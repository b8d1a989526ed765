' Currency is an exact count of ten-thousandths: large amounts keep every digit. A product with
' a Double and any quotient is a Double; sums, differences and products with whole numbers or
' Singles stay Currency.
Print CCur(922337203685477), CCur(-922337203685477), CCur("922337203685477") ' => 922337203685477@, -922337203685477@, 922337203685477@
big = CCur(900000000000000)
Print big + CCur(0.0001), big - CCur(0.0001), big + 1 ' => 900000000000000.0001@, 899999999999999.9999@, 900000000000001@
Print CCur(1.5) + CCur(2.25), CCur(1.5) - 3, CCur(1.5) * 2, CCur(1.5) * CSng(2) ' => 3.75@, -1.5@, 3@, 3@
Print CCur(1.5) * 2.25, 2.25 * CCur(1.5), CCur(1.5) + 0.25 ' => 3.375#, 3.375#, 1.75@
Print CCur(10) / 4, CCur(10) / CCur(4), 10 / CCur(4), CCur(1) \ 1 ' => 2.5#, 2.5#, 2.5#, 1&
Print CCur(12345.6789) * 10000, -CCur(0.0001)  ' => 123456789@, -0.0001@
Print CCur("922337203685477.5807"), CCur("-922337203685477.5808"), CCur(" ($1,000.00015) ") ' => 922337203685477.5807@, -922337203685477.5808@, -1000.0002@
Print CCur("0.00004"), CCur("1.234567"), CCur("1E3") ' => 0@, 1.2346@, 1000@
Print CCur(922337203685477) + 1                 ' => error 6
