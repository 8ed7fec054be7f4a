; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:
;    value | 128           if (n.repetition == 1) and (value < 128)
;   (n.repetition, value)  otherwise

; Total bytes: 7 (RLE)

my_font_data:
!byte $04, $18, $02, $00, $98, $09, $00

my_font_bckgndColors:
!byte $09

; Total bytes: 2 (RLE)

my_font_colors:
!byte $85, $8F

my_font_selection:
!byte $00, $00, $01, $00

