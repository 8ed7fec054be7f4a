t_imageset_id:
!byte $07
!byte $01

t_num_tiles:
!byte $02
!byte $00

t_size:
!byte $02
!byte $01

t_is_16bit:
!byte $00

t_data:
!byte $01
!byte $02
!byte $00
!byte $00

t_colors:
!byte $03
!byte $FF
!byte $FF
!byte $FF

