ln -s ../../vendor/migrations/0002_order_number_idx.py shop/migrations/0006_linked.py
ln -s ../vendor shop/linked_vendor_dir
mkfifo shop/migrations/0007_pipe.py
