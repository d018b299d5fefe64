; Halvika colour scheme: Default. Colours are #RRGGBB; slots not given use the program's own colours.
[Colors]
; Alarm groups without a colour of their own.
s1=#3A6EA5
; On and off in the lists.
s15=#2E7D32
s16=#9E9E9E
; Next-moment column: gave up, invalid date, too far, none.
s17=#C62828
s18=#C62828
s19=#8D6E63
s20=#9E9E9E
; Next moment, near to far.
s21=#D84315
s22=#37474F
; Moment rules: one-time, and periodic from frequent to rare.
s23=#37474F
s24=#6A1B9A
s25=#455A64
; Actions by kind (30 + kind).
s31=#1565C0
s32=#00838F
s33=#1565C0
s34=#5D4037
s35=#5D4037
s36=#5D4037
s37=#2E7D32
s38=#2E7D32
s39=#00838F
s40=#00838F
s41=#00838F
s42=#546E7A
s43=#B71C1C
s44=#B71C1C
s45=#B71C1C
s46=#6A1B9A
s47=#E65100
