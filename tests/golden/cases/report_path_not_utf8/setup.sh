mkdir -p $'caf\xe9/migrations'
cp template.txt $'caf\xe9/migrations/0002_order_number_idx.py'
rm template.txt
