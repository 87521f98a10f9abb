from alembic import op


def downgrade():
    op.drop_table("a")
