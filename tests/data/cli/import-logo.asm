Font_data:
!byte $A5, $A5, $A5, $A5, $5A, $5A, $5A, $5A
!byte $A5, $A5, $A5, $A5, $5A, $5A, $5A, $5A
!byte $A5, $A5, $A5, $A5, $5A, $5A, $5A, $5A
!byte $A5, $A5, $A5, $A5, $5A, $5A, $5A, $5A
!byte $A5, $A5, $A5, $A5, $FF, $FF, $FF, $FF
!byte $A5, $A5, $A5, $A5, $FF, $FF, $FF, $FF
!byte $A5, $A5, $A5, $A5, $FF, $FF, $FF, $FF
!byte $A5, $A5, $A5, $A5, $FF, $FF, $FF, $FF

Font_bckgndColors:
!byte $00, $01, $02

Font_colors:
!byte $08, $08, $08, $08, $0E, $0E, $0E, $0E

