from alembic import op
import sqlalchemy as sa


def upgrade():
    (op.create_table("t1", sa.Column("id", sa.Integer())))
    op.create_index("ix_t1", "t1", ["id"])
    (
        # created here, so its index locks nothing in use
        op.create_table("t2", sa.Column("id", sa.Integer()))
    )
    op.create_index("ix_t2", "t2", ["id"])
    ((op.create_table("t3", sa.Column("id", sa.Integer())) \
    ))
    op.create_unique_constraint("uq_t3", "t3", ["id"])
    op.drop_table("t3")
    (op.create_table("t4", sa.Column("id", sa.Integer())), op.create_index("ix_t4", "t4", ["id"]))
    op.create_table("t5", sa.Column("id", sa.Integer())), op.create_index("ix_t5", "t5", ["id"])
    (op.create_table("t6", sa.Column("id", sa.Integer())),)
    op.create_index("ix_t6", "t6", ["id"])
