from alembic import op
import sqlalchemy as sa


def upgrade():
    with open("f"):
        op.create_table("t1", sa.Column("id", sa.Integer()))
    op.create_table("t2", sa.Column("id", sa.Integer()), if_not_exists=None)
    op.create_table("t3", sa.Column("id", sa.Integer()), if_not_exists=flag)
    if x:
        pass
    else:
        op.create_table("t4", sa.Column("id", sa.Integer()))
    while x:
        op.create_table("t5", sa.Column("id", sa.Integer()))
    try:
        pass
    finally:
        op.create_table("t6", sa.Column("id", sa.Integer()))
    try:
        pass
    except E:
        op.create_table("t7", sa.Column("id", sa.Integer()))
    match x:
        case 1:
            op.create_table("t8", sa.Column("id", sa.Integer()))
    op.add_column("t1", sa.Column("c1", sa.Integer(), nullable=False))
    op.add_column("t2", sa.Column("c2", sa.Integer(), nullable=False))
    op.add_column("t3", sa.Column("c3", sa.Integer(), nullable=False))
    op.add_column("t4", sa.Column("c4", sa.Integer(), nullable=False))
    op.add_column("t5", sa.Column("c5", sa.Integer(), nullable=False))
    op.add_column("t6", sa.Column("c6", sa.Integer(), nullable=False))
    op.add_column("t7", sa.Column("c7", sa.Integer(), nullable=False))
    op.add_column("t8", sa.Column("c8", sa.Integer(), nullable=False))
