Font_data:
!byte $EE, $EE, $BB, $BB, $EE, $EE, $00, $00
!byte $EE, $EE, $BB, $BB, $EE, $EE, $00, $00

Font_bckgndColors:
!byte $06, $0E, $01

Font_colors:
!byte $0A, $0A

