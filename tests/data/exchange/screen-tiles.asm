t_dataset_id:
.byte 7, 2

t_width:
.byte 3, 0

t_height:
.byte 1, 0

t_num_cells:
.byte 3, 0

t_data:
.byte 232, 3, 0, 0
.byte 7, 0

