Sprites_data:
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
!byte $FF, $00, $00, $00, $00, $00, $00, $00
!byte $00, $00, $00, $00, $00, $00, $00, $00
!byte $00, $00, $00, $00, $00, $00, $00, $00
!byte $00, $00, $00, $00, $00, $00, $00, $00

Sprites_bckgndColors:
!byte $00, $0B, $0C

Sprites_colors:
!byte $0C

Sprites_isMulti:
!byte $00

