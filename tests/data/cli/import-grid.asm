Sprites_data:
!byte $55, $55, $5F, $55, $55, $5F, $55, $55
!byte $5F, $55, $55, $5F, $55, $55, $5F, $55
!byte $55, $5F, $A5, $55, $7F, $AA, $95, $7F
!byte $AA, $AA, $FF, $AA, $AA, $FF, $AA, $AA
!byte $FF, $AA, $80, $3F, $A0, $00, $00, $00
!byte $00, $00, $00, $00, $00, $00, $00, $00
!byte $00, $00, $00, $00, $00, $00, $00, $00
!byte $00, $00, $00, $00, $00, $00, $00, $00
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $FF, $00, $0F, $FA, $00
!byte $02, $AA, $00, $0A, $AA, $00, $2A, $AA
!byte $00, $AA, $AA, $AA, $AA, $AA, $AA, $AA
!byte $AA, $AA, $AA, $AA, $AA, $AA, $AA, $00

Sprites_bckgndColors:
!byte $03, $06, $0A

Sprites_colors:
!byte $0E, $07

Sprites_isMulti:
!byte $01, $01

