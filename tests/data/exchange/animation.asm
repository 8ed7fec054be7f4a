h_anim_2_numFrames:
!byte $01

h_anim_2_frame_2_nlayers:
!byte $01

h_anim_2_frame_2_layer_4_offset:
!byte $C8, $80

h_anim_2_frame_2_layer_4_numImages:
!byte $01

h_anim_2_frame_2_layer_4_x_y_index:
!byte $08, $11, $2C

