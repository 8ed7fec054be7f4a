Figuren_anim_0_numFrames:
!byte 1

Figuren_anim_0_frame_1_nlayers:
!byte 2

Figuren_anim_0_frame_1_layer_4_offset:
!byte 253, 4

Figuren_anim_0_frame_1_layer_2_offset:
!byte 255, 2

Figuren_anim_0_frame_1_layer_4_numImages:
!byte 1

Figuren_anim_0_frame_1_layer_4_x_y_index:
!byte 0, 42, 1

Figuren_anim_0_frame_1_layer_2_numImages:
!byte 1

Figuren_anim_0_frame_1_layer_2_x_y_index:
!byte 0, 0, 1

