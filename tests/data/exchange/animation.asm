Hero_sprites_anim_1_numFrames:
!byte $01

Hero_sprites_anim_1_frame_0_nlayers:
!byte $01

Hero_sprites_anim_1_frame_0_layer_1_offset:
!byte $FC, $02

Hero_sprites_anim_1_frame_0_layer_1_numImages:
!byte $01

Hero_sprites_anim_1_frame_0_layer_1_x_y_index:
!byte $30, $15, $05

