ae( )
Dim ae( )
