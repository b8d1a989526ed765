ReDim af("1d9", NowNow)
