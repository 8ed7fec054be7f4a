; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:
;    value | 128           if (n.repetition == 1) and (value < 128)
;   (n.repetition, value)  otherwise

; Total bytes: 12 (RLE)

c_data:
!byte $81, $82, $83, $84, $85, $86, $87, $88
!byte $08, $00, $08, $AA

c_bckgndColors:
!byte $09

; Total bytes: 3 (RLE)

c_colors:
!byte $83, $8F, $8C

c_selection:
!byte $00, $00, $01, $00, $02, $00

