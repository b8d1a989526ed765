' &H and &O right after a call name were read as the & operator.
Print &H10, &O7                                  ' => 16%, 7%
