Title_dataset_id:
!byte 1, 0

Title_width:
!byte 2, 0

Title_height:
!byte 2, 0

Title_num_cells:
!byte 3, 0

Title_data:
!byte 1, 2
!byte 255

Title_color:
!byte 10, 255
!byte 255

