Level_tiles_imageset_id:
!byte $07
!byte $01

Level_tiles_num_tiles:
!byte $02
!byte $00

Level_tiles_size:
!byte $02
!byte $01

Level_tiles_is_16bit:
!byte $00

Level_tiles_data:
!byte $01
!byte $02
!byte $00
!byte $00

Level_tiles_colors:
!byte $03
!byte $FF
!byte $FF
!byte $FF

