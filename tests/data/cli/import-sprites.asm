Sprites_data:
!byte $55, $55, $5F, $55, $55, $77, $55, $57
!byte $7D, $55, $55, $5F, $55, $55, $DD, $55
!byte $59, $B7, $AA, $99, $9D, $AA, $A9, $7F
!byte $AA, $A9, $1E, $AA, $A1, $13, $A2, $11
!byte $13, $A8, $88, $4F, $08, $84, $0C, $88
!byte $00, $43, $00, $88, $0C, $00, $00, $00
!byte $00, $00, $00, $00, $00, $00, $00, $00
!byte $00, $00, $00, $00, $00, $00, $00, $00
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $DF
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $F3, $FF, $FF, $3F, $FB
!byte $EF, $30, $EE, $FB, $CC, $3B, $BB, $0E
!byte $2E, $EE, $CB, $BB, $AA, $00, $8A, $BA
!byte $22, $22, $AA, $28, $AA, $AA, $A2, $8A
!byte $AA, $AA, $AA, $AA, $AA, $AA, $AA, $00

Sprites_bckgndColors:
!byte $03, $06, $0A

Sprites_colors:
!byte $0E, $07

Sprites_isMulti:
!byte $01, $01

